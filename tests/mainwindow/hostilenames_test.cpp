// Names and paths that look like markup, opened through the windows and their real dialogs and
// message boxes: they are shown as the text they are. Shown as markup, "<img src=/dev/zero>"
// reads the device until memory runs out and "<h1>Gespeichert!</h1>" announces a success.
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <memory>

#include "circuit/circcalc.h"
#include "circuit/circuitfile.h"
#include "circuitwindow/circuitc.h"
#include "circuitwindow/elemprop.h"
#include "circuitwindow/linklabel.h"
#include "dialogs/qtuserdialogs.h"
#include "mainwindow/mainwindow_support.h"

namespace zeigora {
namespace {

const std::string Img = "<img src=/dev/zero>";
const std::string Heading = "<h1>Gespeichert!</h1>";

// The labels under root that Qt lays out as markup: rich text, or automatic text that looks
// like markup.
QStringList MarkupLabels(const QWidget* root) {
    QStringList found;
    for (const QLabel* label : root->findChildren<QLabel*>()) {
        const Qt::TextFormat format = label->textFormat();
        if (format == Qt::RichText ||
            (format == Qt::AutoText && Qt::mightBeRichText(label->text())))
            found << label->objectName() + QStringLiteral(": ") + label->text();
    }
    return found;
}

// Scripted answers, but the messages appear in the program's real message boxes.
class TRealMessageBoxes : public TScriptedDialogs {
  public:
    void ShowError(const std::string& text) override {
        TScriptedDialogs::ShowError(text);
        TQtUserDialogs().ShowError(text);
    }
};

class HostileNamesTest : public ::testing::Test {
  protected:
    void SetUp() override { Previous = SetUserDialogs(&Dialogs); }
    void TearDown() override {
        Dialogs.VerifyAllShown();
        SetUserDialogs(Previous);
    }
    std::string InFolder(const std::string& name) const {
        return QDir(Folder.path()).filePath(QString::fromStdString(name)).toStdString();
    }
    // The save into a missing folder named like markup fails; the real error box names it.
    void ExpectFailedSaveBox() {
        const std::string path = InFolder(Heading + "/datei");
        Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{path, 1});
        Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::Error));
        test::WhenModal<QMessageBox>([path](QMessageBox& box) {
            EXPECT_TRUE(box.text().contains(QString::fromStdString(path)));
            EXPECT_EQ(MarkupLabels(&box), QStringList());
        });
    }

    TRealMessageBoxes Dialogs;
    QTemporaryDir Folder;

  private:
    TUserDialogs* Previous = nullptr;
};

TEST_F(HostileNamesTest, CircuitWindowAndElementDialog) {
    std::unique_ptr<TCircuitElementGroup> circuit = MakeDefaultCircuit();
    auto* group = static_cast<TCircuitElementGroup*>(circuit->Items(1));
    group->Name = Img;
    group->Items(1)->Name = Heading;
    const std::string file = InFolder("kreis.zgs");
    ASSERT_TRUE(SaveCircuitToFile(*circuit, file).Ok);

    TPhasorArray phasors;
    TCircuitCalculationForm window(phasors, [] {});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::YesNo));
    Dialogs.ExpectFile(TDialogKind::OpenFile, TFileChoice{file, 1});
    window.OpenFileButton->click();
    // The capacitor of the default circuit.
    QTest::mousePress(window.PaintBox, Qt::LeftButton, {}, QPoint(215, 129));
    ASSERT_EQ(window.SelectedElement->Name.Str(), Heading);
    window.AnalysisButton->click();  // the analysis window names the selected element
    EXPECT_EQ(MarkupLabels(&window), QStringList());

    test::WhenModal<TElementPropertiesForm>([](TElementPropertiesForm& dialog) {
        EXPECT_EQ(dialog.ParentLabel->text(), QString::fromStdString(Img));
        EXPECT_EQ(MarkupLabels(&dialog), QStringList());
    });
    window.EditElementButton->click();
    EXPECT_EQ(MarkupLabels(&window), QStringList());

    ExpectFailedSaveBox();
    window.SaveFileButton->click();
}

TEST_F(HostileNamesTest, MainWindowAndPhasorDialog) {
    TPhasorArray list(3);
    list[0].Name = Img;
    list[1].Name = Heading;
    list[2].Name = "R&D";  // not an access key in the error list
    for (TPhasor& p : list)
        p.Definition = "1+j";
    const std::string file = InFolder("zeiger.zgf");
    ASSERT_TRUE(SavePhasorsToFile(list, file).Ok());

    TMainForm window;
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::YesNo));
    Dialogs.ExpectFile(TDialogKind::OpenFile, TFileChoice{file, 1});
    window.findChild<QAction*>("OpenFileButton")->trigger();
    window.PaintBox1->repaint();
    window.SelectPhasor(&window.Phasors[1]);
    EXPECT_EQ(MarkupLabels(&window), QStringList());
    emit window.statusBar()->customContextMenuRequested(QPoint(2, 2));
    auto* errors = window.findChild<QMenu*>("ErrorsPopup");
    ASSERT_EQ(errors->actions().size(), 3);
    EXPECT_EQ(ToCp1252(errors->actions()[2]->iconText()), "R&D: Ung\xFCltiger Zeigername");
    errors->close();

    test::WhenModal<TPhasorPropertiesForm>([](TPhasorPropertiesForm& dialog) {
        EXPECT_FALSE(dialog.ErrorStatusLabel->text().isEmpty());
        EXPECT_EQ(MarkupLabels(&dialog), QStringList());
    });
    window.findChild<QAction*>("EditPhasor")->trigger();

    ExpectFailedSaveBox();
    window.findChild<QAction*>("SaveFile")->trigger();
}

}  // namespace
}  // namespace zeigora
