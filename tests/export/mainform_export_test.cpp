// The main window's picture and print commands reach the export with its own hooks.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "export/export_support.h"
#include "mainwindow/mainform.h"
#include "mainwindow/printcfg.h"

namespace zeigora {
namespace {

class MainFormExport : public TScriptedDialogsTest {
  protected:
    void SetUp() override {
        TScriptedDialogsTest::SetUp();
        Form = std::make_unique<TMainForm>();
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
        Form->SelectPhasor(&Form->Phasors[0]);
    }
    void TearDown() override {
        Form.reset();
        TScriptedDialogsTest::TearDown();
    }
    QAction* Action(const char* name) {
        auto* action = Form->findChild<QAction*>(name);
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    std::string Path(const char* name) const { return Folder.path().toStdString() + "/" + name; }

    std::unique_ptr<TMainForm> Form;
    QTemporaryDir Folder;
};

TEST_F(MainFormExport, ButtonSavesTheBitmapWithoutSelectionMenuRecordsTheMetafile) {
    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{Path("Ebene.bmp"), pfBitmap});
    Action("SaveAsPictureButton")->trigger();
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);
    const QImage image(QString::fromStdString(Path("Ebene.bmp")), "BMP");
    EXPECT_EQ(image.size(), QSize(Form->Surface().Width(), Form->Surface().Height()));

    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{Path("Ebene.emf"), pfMetafile});
    Action("SaveAsPicture")->trigger();
    EXPECT_TRUE(Form->View.Settings.AntiAliasing);
    EXPECT_FALSE(Form->Surface().Recording());
    EXPECT_EQ(ReadFile(Path("Ebene.emf")).substr(40, 4), " EMF");
}

TEST_F(MainFormExport, PrintCommandPrintsThroughTheOptionsDialog) {
    QAction* print = Action("PrintPicture");
    EXPECT_EQ(print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    const std::string file = Path("Ebene.pdf");
    bool shown = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* form = qobject_cast<TPrinterConfigForm*>(modal);
        if (!form) {
            ADD_FAILURE() << "the print options are not shown";
            if (modal) modal->close();
            return;
        }
        shown = true;
        form->Printer().setOutputFormat(QPrinter::PdfFormat);
        form->Printer().setOutputFileName(QString::fromStdString(file));
        QTest::mouseClick(form->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    });
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::Print));
    print->trigger();
    EXPECT_TRUE(shown);
    EXPECT_EQ(ReadFile(file).substr(0, 5), "%PDF-");
}

}  // namespace
}  // namespace zeigora
