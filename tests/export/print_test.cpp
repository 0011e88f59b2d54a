#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <stdexcept>

#include "export/export_support.h"
#include "mainwindow/printcfg.h"

namespace zeigora {
namespace {

// On an A4 page at 600 dpi (4960 x 7016): picture, frame (one pixel inside the picture's
// exclusive corner on odd sizes), footer position and scale.
class PrintPlacement : public TScriptedDialogsTest {};

TEST_F(PrintPlacement, ScaledAndUnscaledPages) {
    const struct {
        int W, H;
        int Scaled;  // 1: scaled to the page width
        int FooterWidth;
        TPrintPlacement Expected;
    } cases[] = {
        // s = (6 * 8) div 10 = 4, 3968 wide from 496.
        {800, 600, 1, 300, {{496, 2308, 4464, 4708}, {496, 2308, 4464, 4708}, {4164, 4713}, 4}},
        {700, 333, 1, 300, {{496, 2676, 4464, 4341}, {496, 2676, 4464, 4340}, {4164, 4345}, 5}},
        // Wider than the page: s = 0, the picture has no height.
        {6000, 600, 1, 300, {{496, 3508, 4464, 3508}, {496, 3508, 4464, 3508}, {4164, 3513}, 0}},
        {801, 333, 0, 301, {{2080, 3342, 2881, 3675}, {2080, 3342, 2880, 3674}, {2330, 3679}, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.W << "x" << c.H << (c.Scaled ? " scaled" : ""));
        const TPrintPlacement p =
            *PlacePrintout(4960, 7016, c.W, c.H, c.Scaled != 0, c.FooterWidth);
        EXPECT_EQ(p.Picture, c.Expected.Picture);
        EXPECT_EQ(p.Frame, c.Expected.Frame);
        EXPECT_EQ(p.Footer, c.Expected.Footer);
        EXPECT_EQ(p.Scale, c.Expected.Scale);
    }
    Dialogs.ExpectError("Division durch Null");
    EXPECT_FALSE(PlacePrintout(4960, 7016, 0, 600, true, 300).has_value());
}

class PrinterConfigForm : public TExportFixture {
  protected:
    void Click(const char* button) {
        QTest::mouseClick(Form.findChild<QPushButton*>(button), Qt::LeftButton);
    }
    void PrintTo(const std::string& file) {
        Form.Printer().setOutputFormat(QPrinter::PdfFormat);
        Form.Printer().setOutputFileName(QString::fromStdString(file));
    }

    TPrinterConfigForm Form{Surface, [this] { Redraw(); }};
};

// A declined and a failed print leave the options open without a redraw; then one page is printed.
TEST_F(PrinterConfigForm, DeclinedAndFailedPrintsPrintNothingThenOnePageIsPrinted) {
    PrintTo(Path("fehlt/Seite.pdf"));
    Form.show();
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::Print, std::nullopt, false));
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::Print));
    Dialogs.ExpectError("Der Druckauftrag konnte nicht gestartet werden.");
    Click("OKButton");  // declined
    Click("OKButton");  // the printer cannot start
    EXPECT_TRUE(Form.isVisible());
    EXPECT_TRUE(RecordingSeen.empty());  // no redraw

    PrintTo(Path("Seite.pdf"));
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::Print));
    Click("OKButton");
    EXPECT_EQ(RecordingSeen.size(), 1u);  // one redraw
    EXPECT_EQ(Form.Printer().docName(), PrintJobTitle);
    const std::string bytes = ReadFile(Path("Seite.pdf"));
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    EXPECT_NE(bytes.find("/Type /Page"), std::string::npos);
    // The plane's pixels unchanged: lossless image data, no JPEG.
    EXPECT_NE(bytes.find("/Subtype /Image"), std::string::npos);
    EXPECT_EQ(bytes.find("/DCTDecode"), std::string::npos);
}

}  // namespace
}  // namespace zeigora
