// The main window under scripted dialogs (phasor dialog recorded) and its tool-bar number texts.
#include <QLabel>
#include <QWheelEvent>
#include <cmath>
#include <cstring>
#include <fstream>
#include <optional>

#include "complex/numtext.h"
#include "mainwindow/mainwindow_support.h"
#include "mainwindow/numberformat.h"

namespace zeigora {
namespace {

using namespace test;
using Strings = std::vector<std::string>;
constexpr double Pi = 3.14159265358979323846;

class MainFormTest : public TMainWindowTest {
  protected:
    void SetUp() override {
        TMainWindowTest::SetUp();
        Form->RunPhasorDialog = [this](TPhasorArray&, int index, bool) {
            PhasorDialogCalls.push_back(index);
        };
    }

    // Replaces the combo's text as the user types it.
    void TypeInto(const char* name, const std::string& text) {
        QLineEdit* edit = Combo(name)->lineEdit();
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, FromCp1252(text));
    }
    Strings Names() const {
        Strings names;
        for (const TPhasor& p : Form->Phasors)
            names.push_back(p.Name.Str());
        return names;
    }
    bool IsRed(const char* combo) const {
        return Combo(combo)->lineEdit()->palette().color(QPalette::Base) == QColor(255, 0, 0);
    }
    std::string ComboText(const char* combo) const { return ToCp1252(Combo(combo)->currentText()); }
    void Delete(int index) {
        Form->SelectPhasor(&Form->Phasors[index]);
        Dialogs.ExpectYesNo(DeleteQuestion, true);
        Action("DeletePhasorButton")->trigger();
    }
    void StartRoots() {
        Dialogs.ExpectYesNo(RootsQuestion, true);
        Action("Active")->trigger();
    }
    void ExpectValue(int index, double re, double im) {
        SCOPED_TRACE(index);
        EXPECT_NEAR(Form->Phasors[index].Value.Re, re, 1e-12);
        EXPECT_NEAR(Form->Phasors[index].Value.Im, im, 1e-12);
    }
    // What the platform delivers for a double click.
    void DoubleClick(QPoint at) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonDblClick}) {
            Send(type, Qt::LeftButton, Qt::LeftButton, at);
            Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at);
        }
    }

    std::vector<int> PhasorDialogCalls;  // the index each properties dialog was opened for
};

TEST_F(MainFormTest, NewPhasorsAreNumberedByTheListLength) {
    Action("NewPhasorButton")->trigger();
    Action("NewPhasorButton")->trigger();
    EXPECT_EQ(PhasorDialogCalls, (std::vector<int>{2, 3}));
    Delete(2);
    Action("NewPhasor")->trigger();
    EXPECT_EQ(Names(), (Strings{"Zeiger1", "Zeiger2", "Zeiger4", "Zeiger4"}));
}

TEST_F(MainFormTest, DuplicateCopiesEveryFieldButTheName) {
    Form->SelectPhasor(&Form->Phasors[0]);
    Action("DuplicatePhasor")->trigger();
    ASSERT_EQ(Form->Phasors.size(), 3u);
    EXPECT_EQ(Form->Phasors[2].Name.Str(), "KopieVonZeiger1");
    const auto from = offsetof(TPhasor, NameVisible);
    EXPECT_EQ(std::memcmp(reinterpret_cast<const char*>(&Form->Phasors[0]) + from,
                          reinterpret_cast<const char*>(&Form->Phasors[2]) + from,
                          sizeof(TPhasor) - from),
              0);
}

TEST_F(MainFormTest, OpenKeepsThePhasorsUnlessAFileIsRead) {
    Form->SelectPhasor(&Form->Phasors[1]);
    Dialogs.ExpectYesNo(OpenQuestion, false);
    Action("OpenFileButton")->trigger();
    EXPECT_EQ(ComboText("SelectedPhasorComboBox"), "Zeiger2");
    const std::string broken = InFolder("kaputt.zgf");
    std::ofstream(broken, std::ios::binary) << "not a phasor file";
    Dialogs.ExpectYesNo(OpenQuestion, true);
    Dialogs.ExpectFile(TDialogKind::OpenFile, TFileChoice{broken, 1});
    Dialogs.ExpectError(PhasorFileErrorText(TPhasorFileError::BadLength, broken));
    Action("OpenFileButton")->trigger();
    EXPECT_EQ(Names(), (Strings{"Zeiger1", "Zeiger2"}));
}

TEST_F(MainFormTest, SaveWritesTheFileAndReportsAFailure) {
    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{InFolder("zeiger.zgf"), 1});
    Action("SaveFileButton")->trigger();
    TPhasorArray loaded;
    ASSERT_TRUE(LoadPhasorsFromFile(loaded, InFolder("zeiger.zgf")).Ok());
    EXPECT_EQ(loaded.size(), 2u);

    // The name converted once (no "BÃ¤ume"), with the system's reason.
    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{InFolder("fehlt/B\xC3\xA4ume.zgf"), 1});
    Dialogs.ExpectError(
        "Die Datei \"" + InFolder("fehlt/") + "B\xE4ume.zgf" +
        "\" konnte nicht gespeichert werden: Datei oder Verzeichnis nicht gefunden.");
    Action("SaveFile")->trigger();
}

TEST_F(MainFormTest, DeletingTheLastPhasorLeavesAnEmptyPlane) {
    Delete(0);
    Delete(0);
    EXPECT_TRUE(Form->Phasors.empty());
    Frame();
    EXPECT_TRUE(Form->View.DrawnPhasors.empty());
}

TEST_F(MainFormTest, ErrorListEntryOpensTheFaultyPhasor) {
    Form->EditPhasors()[1].Definition = "Zeiger1+";
    Frame();
    ASSERT_EQ(Form->ErrorEntries().size(), 1u);
    EXPECT_EQ(Form->StatusText(7), "1 Fehler (hier rechtsklicken)");
    Form->ErrorClick(Form->ErrorEntries()[0].PhasorIndex);
    EXPECT_EQ(PhasorDialogCalls, (std::vector<int>{1}));
    EXPECT_EQ(Form->SelectedIndex(), 1);
}

// Big lists take long to recalculate: a repaint does it only after the list changed through
// the window. A dialog's change counts when it closes, though the plane was repainted while it
// was open.
TEST_F(MainFormTest, RepaintsRecalculateOnlyAfterAChange) {
    Form->RunPhasorDialog = [this](TPhasorArray& list, int index, bool) {
        Frame();
        list[static_cast<std::size_t>(index)].Definition = "Zeiger1*2";
    };
    Form->SelectPhasor(&Form->Phasors[1]);
    Action("EditPhasor")->trigger();
    Frame();
    ExpectValue(1, 4, -2);
    const_cast<TPhasorArray&>(Form->Phasors)[1].Definition = "Zeiger1*3";  // behind its back
    Action("ZoomIn1Button")->trigger();
    Frame();
    ExpectValue(1, 4, -2);
    Action("Refresh")->trigger();
    Frame();
    ExpectValue(1, 6, -3);
}

TEST_F(MainFormTest, HelpReportsAFailureToOpenThePage) {
    QDir(Folder.path()).mkdir("Doku");
    std::ofstream(InFolder("Doku/index.html")) << "<html/>";
    const QString previous = QDir::currentPath();
    QDir::setCurrent(Folder.path());
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::OpenDocument, "Doku/index.html", false));
    Dialogs.ExpectError(
        "Fehler beim Starten der Hilfe. Bitte klicken Sie die Datei index.html im Ordner "
        "Doku doppelt.");
    Action("Help")->trigger();
    QDir::setCurrent(previous);
}

TEST_F(MainFormTest, RootsOfTheFirstPhasorReplaceTheRest) {
    Form->SelectPhasor(&Form->Phasors[1]);
    StartRoots();
    ASSERT_EQ(Names(), (Strings{"Zeiger1", "Loesung1", "Loesung2"}));
    EXPECT_EQ(Form->Phasors[2].Definition.Str(), "Zeiger1^(1/2)*e^(j*1*360\xB0/2)");
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);
    Frame();
    const TComplex r1 = Form->Phasors[1].Value;
    EXPECT_EQ(Form->Phasors[1].Color, 0x0000FFu);
    EXPECT_EQ(Form->Phasors[2].Color, 0x0000FFu);
    EXPECT_NEAR(r1.Re * r1.Re - r1.Im * r1.Im, 2.0, 1e-12);  // r1^2 = 2 - 1j
    EXPECT_NEAR(2 * r1.Re * r1.Im, -1.0, 1e-12);
    ExpectValue(2, -r1.Re, -r1.Im);
}

TEST_F(MainFormTest, DegreeOutsideTwoToSixteenFallsBackToTwo) {
    StartRoots();
    Dialogs.ExpectInput(DegreePrompt, "16");
    Action("ChangeNumber")->trigger();
    EXPECT_EQ(Form->Phasors.size(), 17u);
    const std::optional<std::string> answers[] = {"17", "1", "zwei", std::nullopt};
    for (const auto& answer : answers) {
        Dialogs.ExpectInput(DegreePrompt, answer);
        Dialogs.ExpectError(
            "Ung\xFCltige Eingabe. Grad wird auf 2 zur\xFC"
            "ckgesetzt.");
        Action("ChangeNumber")->trigger();
        EXPECT_EQ(Form->RootDegree, 2);
        EXPECT_EQ(Form->Phasors.size(), 3u);
    }
}

TEST_F(MainFormTest, RootsOfAnEmptyListStartWithANamelessRecord) {
    Dialogs.ExpectYesNo(DeleteAllQuestion, true);
    Action("DeleteAllPhasors")->trigger();
    StartRoots();
    ASSERT_EQ(Form->Phasors.size(), 3u);
    EXPECT_TRUE(Form->Phasors[0].Name.Empty());
    EXPECT_EQ(Form->Phasors[0].Visible, 0);
    Frame();
    EXPECT_EQ(Form->ErrorEntries().size(), 3u);
}

TEST_F(MainFormTest, ClockHandsAtHalfPastThree) {
    Form->ClockSource = [] { return TClockTime{15, 30, 0, 0}; };
    Form->SelectPhasor(&Form->Phasors[1]);
    QTest::mouseDClick(Child<QLabel>("Zoom2Label"), Qt::LeftButton);
    Action("HiddenClockButton")->trigger();
    Form->Timer1Timer();
    ASSERT_EQ(Names(), (Strings{"h15", "m30", "s0"}));
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);  // the old list is gone
    const double hour = Pi / 2 - (15.5 / 12) * 2 * Pi;
    ExpectValue(0, 0.6 * std::cos(hour), 0.6 * std::sin(hour));
    ExpectValue(1, 0.0, -0.9);
    ExpectValue(2, 0.0, 0.95);
    EXPECT_EQ(Form->PlaneSettings().Scale1, 0.5);
}

// While the phasor dialog is open, the status bar and the error list follow the typed text.
TEST_F(MainFormTest, StatusBarFollowsTheDefinitionTypedInThePhasorDialog) {
    TMainForm main;  // with its own phasor dialog
    std::string whileTyping;
    std::size_t entries = 0;
    WhenModal<TPhasorPropertiesForm>([&](TPhasorPropertiesForm& dialog) {
        QTest::keyClicks(dialog.DefEdit, QStringLiteral("Zeiger1+"));
        whileTyping = main.StatusText(7);
        entries = main.ErrorEntries().size();
    });
    main.SelectPhasor(&main.Phasors[1]);
    main.EditPhasorClick();
    EXPECT_EQ(whileTyping, "1 Fehler (hier rechtsklicken)");
    EXPECT_EQ(entries, 1u);
}

// The error count is readable at the start size beside typical coordinates, and at any width no
// panel is drawn over another or beyond the bar.
TEST_F(MainFormTest, StatusPanelsNeverOverlap) {
    for (int i = 0; i < 10; ++i) {
        TPhasorArray& list = Form->EditPhasors();
        const std::size_t added = AppendPhasor(list);
        list[added].Name = "Z" + std::to_string(i);
        list[added].Definition = "1+";
    }
    Frame();
    EXPECT_EQ(Form->StatusText(7), "10 Fehler (hier rechtsklicken)");
    const auto panels = Child<QWidget>("StatusPanels")->findChildren<QLabel*>();
    ASSERT_EQ(panels.size(), 8);
    for (const int width : {608, 900, 400, 160, 40}) {
        SCOPED_TRACE(width);
        Form->resize(width, 545);
        QApplication::processEvents();
        Send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(width / 7, 333));
        int right = 0;
        for (const QLabel* panel : panels) {
            EXPECT_GE(panel->x(), right) << panel->objectName().toStdString();
            right = panel->geometry().right() + 1;
        }
        EXPECT_LE(right, panels[0]->parentWidget()->width());
        if (Form->width() == 608) {
            const QLabel* errors = panels[7];
            EXPECT_GE(errors->width(), errors->fontMetrics().horizontalAdvance(errors->text()) + 4);
            EXPECT_EQ(Form->StatusText(3).substr(0, 6), "Re1: -");
            EXPECT_GE(panels[3]->width(),
                      panels[3]->fontMetrics().horizontalAdvance(panels[3]->text()) + 4);
        }
    }
}

TEST_F(MainFormTest, StatusBarShowsPixelAndPlaneCoordinatesOnceAFrameExists) {
    Form->View.Mapping = TPlaneMapping{};  // as before the first frame: all factors 0
    Send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(300, 20));
    EXPECT_EQ(Form->StatusText(1), "X: 300");
    EXPECT_EQ(Form->StatusText(2), "Y: 20");
    EXPECT_EQ(Form->StatusText(4), "Im1: 0,0");
    Frame();
    Send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(300, 20));
    EXPECT_EQ(Form->StatusText(3), "Re1: 0,000");
}

TEST_F(MainFormTest, DoubleClickOnEmptySpaceSaysNoPhasorIsSelected) {
    Form->SelectPhasor(&Form->Phasors[0]);
    Frame();
    Dialogs.ExpectError("Kein Zeiger ausgew\xE4hlt.");
    DoubleClick(QPoint(2, 2));
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);
    EXPECT_TRUE(PhasorDialogCalls.empty());
}

// The wheel over any tool-bar combo zooms like the wheel over the drawing, and leaves the combo.
TEST_F(MainFormTest, WheelOverAToolBarComboZooms) {
    const struct {
        const char* Combo;
        int Delta;
        double Scale1;
    } cases[] = {{"Zoom2ComboBox", 120, 0.5},
                 {"ReIntervalsComboBox", -240, 2.0},
                 {"SelectedPhasorComboBox", 120, 1.0}};
    for (const auto& c : cases) {
        QComboBox* combo = Combo(c.Combo);
        const QString text = combo->currentText();
        const QPoint at = combo->rect().center();
        QWheelEvent wheel(at, combo->mapToGlobal(at), {}, QPoint(0, c.Delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &wheel);
        EXPECT_EQ(Form->PlaneSettings().Scale1, c.Scale1) << c.Combo;
        EXPECT_EQ(combo->currentText(), text) << c.Combo;
    }
    EXPECT_EQ(Form->PlaneSettings().Scale2, 1.0);
    EXPECT_EQ(Form->PlaneSettings().ReIntervals, 3.0);
}

// Typed text stays as typed (not completed); rejected text turns the combo red and keeps the
// setting, a zoom of 0 is ignored, "K" is no abbreviation of "Kein".
TEST_F(MainFormTest, CombosFallBackWhenTheTextIsRejected) {
    const struct {
        const char *Combo, *Text;
        bool Red;
        double Scale1, Re, Im;
        bool SubGrid;
        int Sub;
    } cases[] = {
        {"Zoom1ComboBox", "abc", true, 1.0, 3.0, 2.0, true, 3},
        {"Zoom1ComboBox", "2", false, 2.0, 3.0, 2.0, true, 3},
        {"Zoom1ComboBox", "0", false, 2.0, 3.0, 2.0, true, 3},
        {"ReIntervalsComboBox", "2,5", false, 2.0, 2.5, 2.0, true, 3},
        {"ReIntervalsComboBox", "0", true, 2.0, 3.0, 2.0, true, 3},
        {"ImIntervalsComboBox", "x", true, 2.0, 3.0, 3.0, true, 3},
        {"SubIntervalsComboBox", "4", false, 2.0, 3.0, 3.0, true, 4},
        {"SubIntervalsComboBox", "K", true, 2.0, 3.0, 3.0, true, 3},
        {"SubIntervalsComboBox", "Kein", true, 2.0, 3.0, 3.0, false, 3},
        {"SubIntervalsComboBox", "2,5", true, 2.0, 3.0, 3.0, true, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Combo) + " " + c.Text);
        TypeInto(c.Combo, c.Text);
        EXPECT_EQ(ComboText(c.Combo), c.Text);
        const TPlaneSettings& s = Form->PlaneSettings();
        EXPECT_EQ(IsRed(c.Combo), c.Red);
        EXPECT_EQ(Action("ZoomIn1Button")->isEnabled(), !IsRed("Zoom1ComboBox"));
        EXPECT_EQ(std::make_tuple(s.Scale1, s.Scale2, s.ReIntervals, s.ImIntervals,
                                  s.SubGridVisible, s.SubIntervals),
                  std::make_tuple(c.Scale1, 1.0, c.Re, c.Im, c.SubGrid, c.Sub));
    }
}

// Calibrating with intervals that round to zero is reported and keeps the size. Triggered
// directly, outside the event dispatch: the refusal is reported where it happens, not thrown.
TEST_F(MainFormTest, CalibrationRefusesIntervalsThatRoundToZero) {
    TypeInto("ReIntervalsComboBox", "0,4");
    const QSize size = Form->size();
    Dialogs.ExpectError("Division durch Null");
    Action("SetHeightButton")->trigger();
    EXPECT_EQ(Form->size(), size);
}

TEST(NumberFormatTest, GeneralFormatUpToFifteenDigits) {
    SetDecimalSeparator(',');
    const std::pair<double, const char*> cases[] = {
        {1.0 / 1024, "0,0009765625"},
        {1.0 / 3, "0,333333333333333"},
        {0.1 + 0.2, "0,3"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1.5e-6, "1,5E-6"},
        {INFINITY, "INF"},
    };
    for (const auto& [x, text] : cases)
        EXPECT_EQ(FormatFloatGeneral(x), text) << x;
}

TEST(NumberFormatTest, PlainNumbersOnly) {
    SetDecimalSeparator(',');
    double x = 0;
    EXPECT_TRUE(TryStrToFloat(" 2,5 ", x));
    EXPECT_EQ(x, 2.5);
    for (const char* text : {"", "2k", "abc", "1.5", "NaN", "1e400"})
        EXPECT_FALSE(TryStrToFloat(text, x)) << text;
    int n = 0;
    EXPECT_TRUE(TryStrToInt(" 16 ", n));
    EXPECT_EQ(n, 16);
    for (const char* text : {"", "2,0", "zwei", "+-3", "99999999999"})
        EXPECT_FALSE(TryStrToInt(text, n)) << text;
}

}  // namespace
}  // namespace zeigora
