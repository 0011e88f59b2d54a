// The main window's picture commands reach the export with its own hooks.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QTest>
#include <memory>

#include "export/export_support.h"
#include "mainwindow/mainform.h"

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

    std::unique_ptr<TMainForm> Form;
};

TEST_F(MainFormExport, ButtonSavesTheBitmapWithoutSelectionMenuRecordsTheMetafile) {
    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{Path("Ebene.bmp"), pfBitmap});
    Form->findChild<QAction*>("SaveAsPictureButton")->trigger();
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);
    EXPECT_EQ(QImage(QString::fromStdString(Path("Ebene.bmp")), "BMP").size(),
              QSize(Form->Surface().Width(), Form->Surface().Height()));

    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{Path("Ebene.emf"), pfMetafile});
    Form->findChild<QAction*>("SaveAsPicture")->trigger();
    EXPECT_TRUE(Form->View.Settings.AntiAliasing);
    EXPECT_FALSE(Form->Surface().Recording());
    EXPECT_EQ(ReadFile(Path("Ebene.emf")).substr(40, 4), " EMF");
}

}  // namespace
}  // namespace zeigora
