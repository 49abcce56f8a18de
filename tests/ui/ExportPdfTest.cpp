// The PDF export on QPdfWriter and the printer on QPrinter: what pdftotext reads back of one is
// what it reads of the other; the file has the tape's title and the locale's paper; a failed write says why.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include "Machine.h"
#include "fakes/FakePorts.h"
#include "platform/QtPdfPort.h"
#include "platform/QtPrinterPort.h"
#include "window/KeyCodes.h"

namespace qb {
namespace {

QString RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000)) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The texts of each page, trimmed, without blank lines.
std::vector<QStringList> Pages(const QString& text) {
    std::vector<QStringList> pages;
    for (const QString& page : text.split(QChar('\f'))) {
        QStringList lines;
        for (const QString& line : page.split(QChar('\n')))
            if (!line.trimmed().isEmpty()) lines << line.trimmed();
        if (!lines.isEmpty()) pages.push_back(lines);
    }
    return pages;
}

struct ExportingMachine {
    ExportingMachine() {
        machine.Load();
        fakes.messages.Reset();
    }
    // Exports to the file the dialog is answered with.
    void Export(const QString& path) {
        fakes.dialogs.files = {path.toStdString()};
        machine.Run(Command::ExportPdf);
    }
    Ports WithPdf() {
        Ports ports = fakes.ports();
        ports.pdf = &pdf;
        return ports;
    }
    test::FakePorts fakes;
    QtPdfPort pdf;
    Machine machine{WithPdf()};
};

TEST(ExportPdf, ReadsBackAsThePrintedTapePageForPage) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    QTemporaryDir dir;
    ExportingMachine m;
    for (int i = 1; i <= 90; ++i) {
        for (const char c : std::to_string(i)) m.machine.Key(vk::Key0 + (c - '0'), 0, c);
        m.machine.Key(0, 0, '+');
    }
    // The print caption prompt, for the export and then for Print.
    m.fakes.dialogs.captions = {std::string("Fuel, \"March\""), std::string("Fuel, \"March\"")};
    m.machine.Event().active = true;
    m.machine.Event().name = "Pat";

    const QString path = dir.filePath("tape.pdf");
    m.Export(path);
    ASSERT_TRUE(m.fakes.messages.shown.empty()) << m.fakes.messages.shown[0].text;
    const QString info = RunTool("pdfinfo", {path});
    const bool letter = QtPdfPort::UsualPaper(QLocale()) == QPageSize::Letter;

    // What pdftotext reads is what the Print command prints on a real printer (here one that
    // prints to a PDF): the same texts in the same order, on more than one page.
    const std::vector<QStringList> pdfPages = Pages(RunTool("pdftotext", {"-layout", path, "-"}));
    EXPECT_GT(pdfPages.size(), 1u);
    QPrinter qprinter(QPrinter::HighResolution);
    qprinter.setOutputFormat(QPrinter::PdfFormat);
    qprinter.setOutputFileName(dir.filePath("printed.pdf"));
    QtPrinterPort printer(qprinter);
    m.fakes.dialogs.printer = &printer;
    m.fakes.dialogs.printerAnswers = {1};
    m.machine.Run(Command::Print);
    EXPECT_EQ(printer.FontName(), QFont().family().toStdString());  // the printer's own font is back
    QStringList pdfLines, printedLines;
    for (const QStringList& page : pdfPages) pdfLines << page;
    for (const QStringList& page : Pages(RunTool("pdftotext", {"-layout", dir.filePath("printed.pdf"), "-"})))
        printedLines << page;
    EXPECT_EQ(pdfLines, printedLines);
    EXPECT_EQ(pdfLines.size(), 90 + 3);
    EXPECT_EQ(pdfLines.mid(0, 2), (QStringList{"Timed event: Pat", "Fuel, \"March\""}));
    EXPECT_TRUE(info.contains(QRegularExpression("Title: +Fuel, \"March\""))) << info.toStdString();
    // The print job goes by the same name: the print queue lists it, and a printer that prints
    // to a file titles the file with it.
    EXPECT_EQ(qprinter.docName(), QStringLiteral("Fuel, \"March\""));
    const QString printedInfo = RunTool("pdfinfo", {dir.filePath("printed.pdf")});
    EXPECT_TRUE(printedInfo.contains(QRegularExpression("Title: +Fuel, \"March\""))) << printedInfo.toStdString();
    EXPECT_TRUE(info.contains(letter ? "(letter)" : "(A4)")) << info.toStdString();
}

// A name beyond ASCII, from a caption or a file's name, reaches the print queue and the PDF whole.
TEST(ExportPdf, TheTitleAndTheJobsNameAreReadAsUtf8) {
    QPrinter qprinter;
    QtPrinterPort printer(qprinter);
    printer.SetDocumentName("Caf\xc3\xa9 \xe2\x82\xac \xe6\x9c\x88");
    EXPECT_EQ(qprinter.docName(), QString::fromUtf8("Caf\u00e9 \u20ac \u6708"));

    if (QStandardPaths::findExecutable("pdfinfo").isEmpty()) GTEST_SKIP() << "pdfinfo is not installed";
    QTemporaryDir dir;
    QtPdfPort pdf;
    pdf.Open(dir.filePath("t.pdf").toStdString(), "Caf\xc3\xa9 \xe2\x82\xac \xe6\x9c\x88").PrintLine("1");
    std::string reason;
    ASSERT_TRUE(pdf.Finish(reason)) << reason;
    const QString info = RunTool("pdfinfo", {"-enc", "UTF-8", dir.filePath("t.pdf")});
    EXPECT_TRUE(info.contains(QRegularExpression(QString::fromUtf8("Title: +Caf\u00e9 \u20ac \u6708\n")))) << info.toStdString();
}

// A tape with no lines still gives a PDF a reader opens: one blank page.
TEST(ExportPdf, AnEmptyTapeGivesOneBlankPage) {
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty()) GTEST_SKIP() << "pdfinfo is not installed";
    QTemporaryDir dir;
    ExportingMachine m;
    m.machine.Run(Command::PromptPrintCaption);  // off
    m.machine.GetTape().Replace({});  // as a tape file with no lines leaves it
    const QString path = dir.filePath("empty.pdf");
    m.Export(path);
    EXPECT_TRUE(m.fakes.messages.shown.empty());
    EXPECT_TRUE(RunTool("pdfinfo", {path}).contains(QRegularExpression("Pages: +1\\n")));
}

TEST(ExportPdf, TheLocaleChoosesThePaper) {
    const std::pair<const char*, QPageSize::PageSizeId> cases[] = {
        {"en_US", QPageSize::Letter}, {"fr_CA", QPageSize::Letter}, {"en_GB", QPageSize::A4}, {"ja_JP", QPageSize::A4}};
    for (const auto& [locale, paper] : cases) EXPECT_EQ(QtPdfPort::UsualPaper(QLocale(locale)), paper) << locale;
}

// A file that cannot be written is reported with the system's reason, and an earlier file of
// that name is left whole.
TEST(ExportPdf, AFailedWriteSaysWhyAndKeepsTheEarlierFile) {
    QTemporaryDir dir;
    ExportingMachine m;
    m.machine.Run(Command::PromptPrintCaption);  // off
    m.Export(dir.filePath("missing/tape.pdf"));
    ASSERT_EQ(m.fakes.messages.shown.size(), 1u);
    const std::string& text = m.fakes.messages.shown[0].text;
    EXPECT_EQ(text.rfind("The tape could not be exported to tape.pdf\r\n\r\n", 0), 0u) << text;
    EXPECT_EQ(text.find("not known"), std::string::npos) << text;

    // A folder in the file's place: nothing is written over it.
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.pdf"));
    m.fakes.messages.Reset();
    m.fakes.files.files[dir.filePath("folder.pdf").toStdString()] = "";  // the program asks to replace it
    m.fakes.messages.answers = {MessageAnswer::Yes};
    m.Export(dir.filePath("folder.pdf"));
    ASSERT_EQ(m.fakes.messages.shown.size(), 2u);
    EXPECT_NE(m.fakes.messages.shown[1].text.find("not a plain file"), std::string::npos);
    EXPECT_TRUE(QFileInfo(dir.filePath("folder.pdf")).isDir());
}

}  // namespace
}  // namespace qb
