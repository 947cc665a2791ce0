#include "platform/report/exportwriters.h"

#include <QIODevice>

#include <vector>

// Qt reads GIF but does not write it: this is a small GIF89a writer of our own with a fixed
// 256-colour palette (a 6x6x6 colour cube and 40 greys) and the usual LZW compression.

namespace Brelvan::ExportWriters {

namespace {

QList<QRgb> palette()
{
    QList<QRgb> colours;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                colours.append(qRgb(r * 51, g * 51, b * 51));
    for (int i = 0; i < 40; ++i) {
        const int v = (i + 1) * 255 / 41;
        colours.append(qRgb(v, v, v));
    }
    return colours;
}

// The nearest palette entry for every colour of 5 bits a channel.
std::vector<quint8> lookup(const QList<QRgb> &colours)
{
    std::vector<quint8> table(32 * 32 * 32);
    for (int r = 0; r < 32; ++r)
        for (int g = 0; g < 32; ++g)
            for (int b = 0; b < 32; ++b) {
                const int R = r * 255 / 31, G = g * 255 / 31, B = b * 255 / 31;
                int best = 0;
                int bestDistance = INT_MAX;
                auto consider = [&](int index) {
                    const QRgb c = colours.at(index);
                    const int dr = qRed(c) - R, dg = qGreen(c) - G, db = qBlue(c) - B;
                    const int d = dr * dr + dg * dg + db * db;
                    if (d < bestDistance) {
                        bestDistance = d;
                        best = index;
                    }
                };
                consider(((R + 25) / 51) * 36 + ((G + 25) / 51) * 6 + (B + 25) / 51);
                for (int i = 216; i < 256; ++i)
                    consider(i);
                table[(r << 10) | (g << 5) | b] = quint8(best);
            }
    return table;
}

class BitPacker
{
public:
    explicit BitPacker(QByteArray &out) : m_out(out) {}
    void write(int code, int bits)
    {
        m_buffer |= quint32(code) << m_count;
        m_count += bits;
        while (m_count >= 8) {
            byte(quint8(m_buffer & 0xff));
            m_buffer >>= 8;
            m_count -= 8;
        }
    }
    void flush()
    {
        if (m_count > 0)
            byte(quint8(m_buffer & 0xff));
        m_buffer = 0;
        m_count = 0;
        if (!m_block.isEmpty())
            endBlock();
        m_out.append(char(0));
    }

private:
    void byte(quint8 b)
    {
        m_block.append(char(b));
        if (m_block.size() == 255)
            endBlock();
    }
    void endBlock()
    {
        m_out.append(char(m_block.size()));
        m_out.append(m_block);
        m_block.clear();
    }
    QByteArray &m_out;
    QByteArray m_block;
    quint32 m_buffer = 0;
    int m_count = 0;
};

void compress(const std::vector<quint8> &pixels, QByteArray &out)
{
    const int clearCode = 256, endCode = 257, maxCode = 4095;
    std::vector<quint16> table(4096 * 256, 0);
    BitPacker packer(out);
    int bits = 9;
    int next = endCode + 1;
    int limit = 1 << bits;
    auto output = [&](int code) {
        packer.write(code, bits);
        if (next >= limit && code <= maxCode && bits < 12) {
            ++bits;
            limit = 1 << bits;
        }
    };
    packer.write(clearCode, bits);
    if (pixels.empty()) {
        packer.write(endCode, bits);
        packer.flush();
        return;
    }
    int current = pixels[0];
    for (size_t i = 1; i < pixels.size(); ++i) {
        const int pixel = pixels[i];
        const size_t key = size_t(current) * 256 + size_t(pixel);
        if (table[key]) {
            current = table[key];
            continue;
        }
        output(current);
        current = pixel;
        if (next >= maxCode) {
            output(clearCode);
            std::fill(table.begin(), table.end(), 0);
            bits = 9;
            limit = 1 << bits;
            next = endCode + 1;
        } else {
            table[key] = quint16(next++);
        }
    }
    output(current);
    output(endCode);
    packer.flush();
}

void put16(QByteArray &out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

} // namespace

bool writeGif(const QImage &image, QIODevice *device)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull() || rgb.width() > 0xffff || rgb.height() > 0xffff)
        return false;
    static const QList<QRgb> colours = palette();
    static const std::vector<quint8> nearest = lookup(colours);

    std::vector<quint8> pixels;
    pixels.reserve(size_t(rgb.width()) * size_t(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb c = line[x];
            pixels.push_back(
                nearest[((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3)]);
        }
    }

    QByteArray out("GIF89a");
    put16(out, rgb.width());
    put16(out, rgb.height());
    out.append(char(0xf7)); // global colour table of 256 entries, 8 bits a channel
    out.append(char(0));
    out.append(char(0));
    for (QRgb c : colours) {
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    out.append(char(0x2c));
    put16(out, 0);
    put16(out, 0);
    put16(out, rgb.width());
    put16(out, rgb.height());
    out.append(char(0));
    out.append(char(8)); // LZW minimum code size
    compress(pixels, out);
    out.append(char(0x3b));
    return device->write(out) == out.size();
}

} // namespace Brelvan::ExportWriters
