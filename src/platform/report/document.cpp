#include "platform/report/document.h"

#include <QDataStream>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace Brelvan {

namespace {

const quint32 FileMagic = 0x42525054; // "BRPT"
const quint16 FileVersion = 1;

} // namespace

DocPage &Document::addPage(const QSizeF &sizeMm)
{
    m_pages.append(DocPage{sizeMm, {}});
    return m_pages.last();
}

QList<const DocItem *> Document::textsInReadingOrder(int index) const
{
    QList<const DocItem *> runs;
    for (const DocItem &item : m_pages.at(index).items) {
        if (item.kind == DocItem::Kind::Text && !item.text.isEmpty())
            runs.append(&item);
    }
    // Runs whose tops lie within half a millimetre share a line; the sort is stable so
    // that runs drawn at the same place keep the order they were drawn in.
    std::stable_sort(runs.begin(), runs.end(), [](const DocItem *a, const DocItem *b) {
        const qint64 ya = qRound64(a->rect.top() * 2);
        const qint64 yb = qRound64(b->rect.top() * 2);
        if (ya != yb)
            return ya < yb;
        return a->rect.left() < b->rect.left();
    });
    return runs;
}

QString Document::pageText(int index) const
{
    QStringList lines;
    for (const DocItem *run : textsInReadingOrder(index))
        lines.append(run->text);
    return lines.join(QLatin1Char('\n'));
}

QStringList Document::pageTexts() const
{
    QStringList texts;
    for (int i = 0; i < pageCount(); ++i)
        texts.append(pageText(i));
    return texts;
}

int Document::addImage(const QImage &image)
{
    // A logo or a repeated picture is kept once however often it is drawn.
    const auto known = m_imageKeys.constFind(image.cacheKey());
    if (known != m_imageKeys.cend())
        return known.value();
    m_images.append(image);
    m_imageKeys.insert(image.cacheKey(), int(m_images.size()) - 1);
    return int(m_images.size()) - 1;
}

bool Document::save(QIODevice *device) const
{
    QDataStream out(device);
    out.setVersion(QDataStream::Qt_6_4);
    out << FileMagic << FileVersion << m_title;
    out << qint32(m_images.size());
    for (const QImage &image : m_images)
        out << image;
    out << qint32(m_pages.size());
    for (const DocPage &page : m_pages) {
        out << page.size << qint32(page.items.size());
        for (const DocItem &item : page.items) {
            out << quint8(item.kind) << item.rect << item.text << item.font << item.colour
                << item.fill << item.penWidth << qint32(item.flags) << qint32(item.image);
        }
    }
    return out.status() == QDataStream::Ok;
}

bool Document::load(QIODevice *device, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    QDataStream in(device);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0;
    quint16 version = 0;
    in >> magic >> version;
    if (magic != FileMagic)
        return fail(QStringLiteral("This file is not a saved report."));
    if (version > FileVersion)
        return fail(QStringLiteral("This report was saved by a newer version of the program."));

    Document doc;
    in >> doc.m_title;
    qint32 count = 0;
    in >> count;
    if (count < 0 || in.status() != QDataStream::Ok)
        return fail(QStringLiteral("The saved report is damaged."));
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QImage image;
        in >> image;
        doc.m_images.append(image);
    }
    in >> count;
    if (count < 0)
        return fail(QStringLiteral("The saved report is damaged."));
    for (qint32 p = 0; p < count && in.status() == QDataStream::Ok; ++p) {
        QSizeF size;
        qint32 items = 0;
        in >> size >> items;
        if (items < 0)
            return fail(QStringLiteral("The saved report is damaged."));
        DocPage &page = doc.addPage(size);
        page.items.reserve(items);
        for (qint32 i = 0; i < items && in.status() == QDataStream::Ok; ++i) {
            DocItem item;
            quint8 kind = 0;
            qint32 flags = 0, image = -1;
            in >> kind >> item.rect >> item.text >> item.font >> item.colour >> item.fill
                >> item.penWidth >> flags >> image;
            if (kind > quint8(DocItem::Kind::Image) || image >= doc.m_images.size())
                return fail(QStringLiteral("The saved report is damaged."));
            item.kind = DocItem::Kind(kind);
            item.flags = flags;
            item.image = image;
            page.items.append(item);
        }
    }
    if (in.status() != QDataStream::Ok)
        return fail(QStringLiteral("The saved report is damaged."));
    *this = doc;
    return true;
}

bool Document::saveToFile(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !save(&file) || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool Document::loadFromFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return load(&file, error);
}

} // namespace Brelvan
