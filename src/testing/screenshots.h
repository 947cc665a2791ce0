#pragma once

#include <QSize>
#include <QString>

namespace Brelvan::Testing {

// Starts the program over a demo data folder with a fixed clock and saves a picture of
// every page at the given size into dir as Diary.png ... Office.png. Returns the number
// of pictures written.
int writePageScreenshots(const QString &dir, QSize size = QSize(1024, 768));

} // namespace Brelvan::Testing
