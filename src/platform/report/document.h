#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QIODevice;

namespace Brelvan {

// One thing drawn on a page, in millimetres from the page's top left corner.
struct DocItem
{
    enum class Kind : quint8 { Text, Line, Rect, Image };

    Kind kind = Kind::Text;
    QRectF rect;         // text, frame and image box; a line runs from topLeft to bottomRight
    QString text;        // one line of text
    QFont font;
    QColor colour;       // text colour, or the pen of a line or frame
    QColor fill;         // frame fill; invalid for none
    double penWidth = 0; // mm; 0 draws no outline
    int flags = 0;       // Qt alignment flags of a text
    int image = -1;      // index into the document's images

    QLineF line() const { return QLineF(rect.topLeft(), rect.bottomRight()); }
};

struct DocPage
{
    QSizeF size; // mm
    QList<DocItem> items;
};

// A rendered report, independent of any device: what the preview shows, the printer prints
// and every exporter writes.
class Document
{
public:
    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }

    int pageCount() const { return int(m_pages.size()); }
    const DocPage &page(int index) const { return m_pages.at(index); }
    DocPage &page(int index) { return m_pages[index]; }
    const QList<DocPage> &pages() const { return m_pages; }
    DocPage &addPage(const QSizeF &sizeMm);

    // The texts of page `index` (0-based) in reading order, one run a line.
    QString pageText(int index) const;
    // Every page's text, as the window-test fixture reports them.
    QStringList pageTexts() const;
    // The page's text runs, top to bottom and left to right.
    QList<const DocItem *> textsInReadingOrder(int index) const;

    int addImage(const QImage &image);
    const QImage &image(int index) const { return m_images.at(index); }
    int imageCount() const { return int(m_images.size()); }

    // Our own saved-report format: a versioned binary stream.
    bool save(QIODevice *device) const;
    bool load(QIODevice *device, QString *error = nullptr);
    bool saveToFile(const QString &path, QString *error = nullptr) const;
    bool loadFromFile(const QString &path, QString *error = nullptr);

private:
    QString m_title;
    QList<DocPage> m_pages;
    QList<QImage> m_images;
    QHash<qint64, int> m_imageKeys;
};

} // namespace Brelvan
