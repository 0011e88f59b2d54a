// The window "Schaltungsanalyse" driven from the circuit calculation window: it follows the
// selection and the frequency with the window's own values, hands its phasors over, sets the
// frequency by a click and writes its table and pictures.
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <cstring>

#include "circuit/circuitquery.h"
#include "circuitwindow/analysisform.h"
#include "circuitwindow/circuitwindow_support.h"
#include "complex/numtext.h"

namespace zeigora {
namespace {

using namespace test;

bool SameBits(const TComplex& a, const TComplex& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class AnalysisWindowTest : public TCircuitWindowTest {
  protected:
    void SetUp() override {
        TCircuitWindowTest::SetUp();
        Window->AnalysisButton->click();
        ASSERT_NE(Window->AnalysisForm, nullptr);
        Form = Window->AnalysisForm;
        Settle();
    }
    // Until the background sweep is in.
    void Settle() { QTRY_VERIFY_WITH_TIMEOUT(!Form->Busy(), 10000); }
    void TypeFrequency(const char* text) {
        TypeInto(Window->ACFrequencyEdit, text);
        Settle();
    }

    TCircuitAnalysisForm* Form = nullptr;
};

TEST_F(AnalysisWindowTest, FollowsSelectionAndFrequencyWithTheWindowsValues) {
    EXPECT_EQ(ToCp1252(Form->ResonanceLabel->text()), "Resonanz bei 290,576 Hz");
    EXPECT_EQ(Form->ElementIndex(), 0);
    // Inside the tank's rectangle, outside its members: the tank.
    Press(QPoint(215, 86));
    TypeFrequency("120");
    EXPECT_EQ(Form->ElementIndex(), 2);
    EXPECT_EQ(ToCp1252(Form->ElementLabel->text()), "Element: Schwingkreis 1 (Gruppe, parallel)");
    const TCircuitElementGroup& tank = static_cast<TCircuitElementGroup&>(*Window->SelectedElement);
    const TGroupPhasors& d = Form->Phasors();
    ASSERT_EQ(d.Parts.size(), 2u);
    EXPECT_TRUE(SameBits(d.Parts[0].Value, GetCurrent(*tank.Items(0), Window->Supply)));
    EXPECT_TRUE(SameBits(d.U, GetVoltage(tank, Window->Supply)));
    // Each sweep point is what the window shows at that frequency.
    for (const std::size_t k : {0, 77, 200}) {
        const TSweepPoint& p = Form->Sweep().Points[k];
        TCircuitSupply at = Window->Supply;
        at.Omega = FrequencyToOmega(p.X);
        EXPECT_TRUE(SameBits(p.I, GetCurrent(tank, at)));
    }
    EXPECT_TRUE(Form->Sweep().HasCurrent);
    EXPECT_EQ(Form->Sweep().Current.X, 120.0);
}

TEST_F(AnalysisWindowTest, ClickSetsTheFrequencyAndHandOverAddsThePolygon) {
    Form->Views->setCurrentIndex(TCircuitAnalysisForm::vwResponse);
    QTest::qWait(50);
    TPaintBoxWidget* box = Form->ResponseBox;
    Form->PaintView(TCircuitAnalysisForm::vwResponse, box->Surface());
    // The middle of the frequency axis of 10 Hz .. 100 kHz is 1 kHz.
    TSweepPlotGeometry g;
    RenderFrequencyResponse(box->Surface(), Form->Sweep(), {}, g);
    const int x = static_cast<int>(std::lround(g.X.ToPixel(1000.0)));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(x, static_cast<int>(g.Plot.Top) + 20));
    Settle();
    const double f = StrToFloatEng(ToCp1252(Window->ACFrequencyEdit->text()));
    EXPECT_NEAR(f, 1000.0, 20.0);
    EXPECT_EQ(Window->Supply.Omega, FrequencyToOmega(f));

    Form->HandOverButton->click();
    ASSERT_EQ(Phasors.size(), 4u);  // parts R1, Schwingkreis 1, total, current
    EXPECT_EQ(Phasors[2].Definition.Str(), "UR1+USchwingkreis1");
    EXPECT_EQ(Changes, 1);
}

TEST_F(AnalysisWindowTest, TableAndPicture) {
    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{Path("t.csv"), 2});
    Form->SaveTableButton->click();
    const std::string csv = ReadBytes(Path("t.csv"));
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "f;re;im;abs;phase");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 202);
    EXPECT_NE(csv.find("\n10;2200;"), std::string::npos);
    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{Path("t.tsv"), 1});
    Form->SaveTableButton->click();
    EXPECT_NE(ReadBytes(Path("t.tsv")).find("\n1e+05\t"), std::string::npos);
    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{Path("Ortskurve.png"), 3});
    Form->Views->setCurrentIndex(TCircuitAnalysisForm::vwLocus);
    Form->SavePictureButton->click();
    EXPECT_EQ(ReadBytes(Path("Ortskurve.png")).substr(1, 3), "PNG");
    Dialogs.VerifyAllShown();
}

// An empty circuit has a zero or an infinite impedance everywhere; every view still draws.
// The keys turn the views wherever the focus is, here in an edit outside the tabs.
TEST_F(AnalysisWindowTest, KeysTurnTheViews) {
    Form->activateWindow();
    Form->FromEdit->setFocus();
    const std::pair<QKeySequence, int> steps[] = {{QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
                                                  {QKeySequence(Qt::CTRL | Qt::Key_Tab), 2},
                                                  {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 0},
                                                  {QKeySequence(Qt::CTRL | Qt::Key_PageUp), 2}};
    for (const auto& [keys, view] : steps) {
        QTest::keySequence(Form, keys);
        EXPECT_EQ(Form->Views->currentIndex(), view) << keys.toString().toStdString();
    }
}

TEST_F(AnalysisWindowTest, EmptyCircuitsDraw) {
    for (const bool parallel : {false, true}) {
        Dialogs.ExpectYesNo(DeleteAllQuestion, true);
        Window->DeleteAllButton->click();
        Window->OuterGroup->IsParallel = parallel;
        Window->RedrawDiagram();
        Settle();
        EXPECT_EQ(ToCp1252(Form->ResonanceLabel->text()), "Keine Resonanz im Bereich");
        TPaintBoxEx surface(400, 300);
        for (const auto view : {TCircuitAnalysisForm::vwPhasors, TCircuitAnalysisForm::vwLocus,
                                TCircuitAnalysisForm::vwResponse})
            Form->PaintView(view, surface);
    }
    Dialogs.VerifyAllShown();
}

}  // namespace
}  // namespace zeigora
