#pragma once

namespace Brelvan {

struct ReportBenchmark
{
    int lines = 0;
    int pages = 0;
    double renderSeconds = 0; // report to Document
    double pdfSeconds = 0;    // Document to a PDF file
};

// Times a landscape list report of `lines` detail lines (title, column header, six
// fields a line, summary with sums, page footer) rendered to a Document and then written
// as PDF to a temporary file. Needs a running QGuiApplication.
ReportBenchmark renderListBenchmark(int lines = 20000);

} // namespace Brelvan
