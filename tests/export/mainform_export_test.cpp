// The main window's picture and print commands reach the export with its own hooks.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "export/export_support.h"
#include "mainwindow/mainform.h"
#include "mainwindow/printcfg.h"

namespace zeigora {
namespace {

class MainFormExport : public TExportFixture {
  protected:
    void SetUp() override {
        TExportFixture::SetUp();
        Form = std::make_unique<TMainForm>();
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
        Form->SelectPhasor(&Form->Phasors[0]);
    }
    void TearDown() override {
        Form.reset();
        TExportFixture::TearDown();
    }
    QAction* Action(const char* name) { return Form->findChild<QAction*>(name); }

    std::unique_ptr<TMainForm> Form;
};

TEST_F(MainFormExport, ButtonSavesTheBitmapWithoutSelectionMenuRecordsTheMetafile) {
    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{Path("Ebene.bmp"), pfBitmap});
    Action("SaveAsPictureButton")->trigger();
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);
    EXPECT_EQ(QImage(QString::fromStdString(Path("Ebene.bmp")), "BMP").size(),
              QSize(Form->Surface().Width(), Form->Surface().Height()));

    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{Path("Ebene.emf"), pfMetafile});
    Action("SaveAsPicture")->trigger();
    EXPECT_TRUE(Form->View.Settings.AntiAliasing);
    EXPECT_FALSE(Form->Surface().Recording());
    EXPECT_EQ(ReadFile(Path("Ebene.emf")).substr(40, 4), " EMF");
}

TEST_F(MainFormExport, PrintCommandPrintsThroughTheOptionsDialog) {
    const std::string file = Path("Ebene.pdf");
    QTimer::singleShot(0, [&] {
        auto* form = qobject_cast<TPrinterConfigForm*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr) << "the print options are not shown";
        form->Printer().setOutputFormat(QPrinter::PdfFormat);
        form->Printer().setOutputFileName(QString::fromStdString(file));
        QTest::mouseClick(form->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    });
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::Print));
    Action("PrintPicture")->trigger();
    EXPECT_EQ(ReadFile(file).substr(0, 5), "%PDF-");
}

}  // namespace
}  // namespace zeigora
