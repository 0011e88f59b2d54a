#include "dialogs/gridsets.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <cmath>
#include <memory>
#include <vector>

#include "dialogs/scripteddialogs_support.h"
#include "platform/cp1252.h"

namespace zeigora {
namespace {

constexpr TColor Grey = 0x808080;
constexpr TColor Red = 0x0000FF;
constexpr TColor Green = 0x00FF00;

// Scripted dialogs that also note the colour each colour dialog started with.
class TColorNotingDialogs : public TScriptedDialogs {
  public:
    std::optional<std::uint32_t> PickColor(std::uint32_t initial) override {
        Initial.push_back(initial);
        return TScriptedDialogs::PickColor(initial);
    }
    std::vector<std::uint32_t> Initial;
};

void ExpectSameSettings(const TPlaneSettings& a, const TPlaneSettings& b) {
#define ZEIGORA_SAME(field) EXPECT_EQ(a.field, b.field) << #field
    ZEIGORA_SAME(GridColor);
    ZEIGORA_SAME(GridStyle);
    ZEIGORA_SAME(SubGridColor);
    ZEIGORA_SAME(SubGridStyle);
    ZEIGORA_SAME(AxisColor);
    ZEIGORA_SAME(AxisStyle);
    ZEIGORA_SAME(ShowNumbers);
    ZEIGORA_SAME(Accuracy);
    ZEIGORA_SAME(SafetySpace);
    ZEIGORA_SAME(MarkLength);
    ZEIGORA_SAME(BackGroundColor);
    ZEIGORA_SAME(ReLabel);
    ZEIGORA_SAME(ImLabel);
    ZEIGORA_SAME(AutoValues);
    ZEIGORA_SAME(MarginFactor);
    ZEIGORA_SAME(Scale1);
    ZEIGORA_SAME(GridVisible);
#undef ZEIGORA_SAME
}

class GridSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { Previous = SetUserDialogs(&Dialogs); }
    void TearDown() override {
        Form.reset();
        Dialogs.VerifyAllShown();
        SetUserDialogs(Previous);
    }

    void Open() {
        Form = std::make_unique<TGridSettingsForm>(Settings);
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }
    template <typename T>
    T* Find(const char* name) {
        T* widget = Form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    // Types into a spin edit as the user does, replacing its text.
    void Type(const char* spinEdit, const char* text) {
        auto* edit = Find<TSpinEdit>(spinEdit);
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(text));
    }

    TColorNotingDialogs Dialogs;
    TPlaneSettings Settings;
    std::unique_ptr<TGridSettingsForm> Form;

  private:
    TUserDialogs* Previous = nullptr;
};

TEST_F(GridSettingsTest, LoadsTheDefaults) {
    Open();
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Raster- und Achseneinstellungen"));
    EXPECT_EQ(Find<TColorShape>("GridColorShape")->BrushColor(), 0xC0C0C0u);
    EXPECT_EQ(Find<TOwnerDrawComboBox>("GridStyleComboBox")->count(), 4);
    EXPECT_EQ(Find<TOwnerDrawComboBox>("SubGridStyleComboBox")->currentIndex(), 2);
    EXPECT_TRUE(Find<QCheckBox>("ShowNumbersCheckBox")->isChecked());
    EXPECT_EQ(Find<TSpinEdit>("AccuracySpinEdit")->value(), 2);
    EXPECT_EQ(Find<TSpinEdit>("SafetySpaceSpinEdit")->value(), 3);
    EXPECT_EQ(Find<QLabel>("MarkLengthLabel")->text(), QStringLiteral("5px"));
    EXPECT_EQ(Find<QLineEdit>("ReLabelEdit")->text(), QStringLiteral("Re"));
    EXPECT_EQ(Find<TSpinEdit>("SafetyFactorSpinEdit")->value(), 10);
}

TEST_F(GridSettingsTest, OpenAndOkChangesNothing) {
    TPlaneSettings custom;
    custom.GridColor = 0x123456;
    custom.GridStyle = 3;
    custom.SubGridColor = 0x00FF00;
    custom.SubGridStyle = 1;
    custom.AxisColor = 0x0000FF;
    custom.AxisStyle = 2;
    custom.ShowNumbers = false;
    custom.Accuracy = 5;
    custom.SafetySpace = 0;
    custom.MarkLength = 8;
    custom.BackGroundColor = 0xEEEEEE;
    custom.ReLabel = "\xC4u\xDF";
    custom.ImLabel = "";
    custom.AutoValues = false;
    custom.MarginFactor = 2.0;
    for (const TPlaneSettings& start : {TPlaneSettings{}, custom}) {
        Settings = start;
        Open();
        Click("OKButton");
        EXPECT_EQ(Form->result(), QDialog::Accepted);
        ExpectSameSettings(Settings, start);
        Form.reset();
    }
}

TEST_F(GridSettingsTest, ShowNumbersEnablesItsControls) {
    const char* dependents[] = {"AccuracySpinEdit", "SafetySpaceSpinEdit", "Label6", "Label7",
                                "AutoValuesCheckBox"};
    Open();
    auto* box = Find<QCheckBox>("ShowNumbersCheckBox");
    QTest::mouseClick(box, Qt::LeftButton);
    for (const char* name : dependents)
        EXPECT_FALSE(Find<QWidget>(name)->isEnabled()) << name;
    QTest::mouseClick(box, Qt::LeftButton);
    for (const char* name : dependents)
        EXPECT_TRUE(Find<QWidget>(name)->isEnabled()) << name;
    QTest::mouseClick(box, Qt::LeftButton);
    Click("OKButton");
    EXPECT_FALSE(Settings.ShowNumbers);

    // Loaded unchecked, the controls open disabled.
    Form.reset();
    Open();
    for (const char* name : dependents)
        EXPECT_FALSE(Find<QWidget>(name)->isEnabled()) << name;
}

TEST_F(GridSettingsTest, MarginPercentGivesTheFactor) {
    struct Case {
        const char* typed;
        double factor;
    };
    // 0 % and 50 % and more would leave no inner plane; the margin stays within 1..49.
    const Case cases[] = {{"10", 1.25}, {"25", 2.0},         {"1", 100.0 / 98.0},
                          {"49", 50.0}, {"0", 100.0 / 98.0}, {"60", 50.0}};
    for (const Case& c : cases) {
        Settings = TPlaneSettings{};
        Open();
        Type("SafetyFactorSpinEdit", c.typed);
        Click("OKButton");
        EXPECT_DOUBLE_EQ(Settings.MarginFactor, c.factor) << c.typed;
        Form.reset();
    }
    Settings.MarginFactor = 2.0;
    Open();
    EXPECT_EQ(Find<TSpinEdit>("SafetyFactorSpinEdit")->value(), 25);
}

TEST_F(GridSettingsTest, MarginFactorToPercentStaysInRange) {
    EXPECT_EQ(MarginPercent(1.25), 10);
    EXPECT_EQ(MarginPercent(1.0), 1);
    EXPECT_EQ(MarginPercent(1000.0), 49);
    EXPECT_EQ(MarginPercent(-3.0), 49);
    EXPECT_EQ(MarginPercent(std::nan("")), 10);
}

TEST_F(GridSettingsTest, CancelAfterChangesKeepsTheSettings) {
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::Color));
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::Color));
    Open();
    QTest::mouseClick(Find<TColorShape>("GridColorShape"), Qt::LeftButton);
    QTest::mouseClick(Find<TColorShape>("BackGroundColorShape"), Qt::LeftButton);
    Find<TOwnerDrawComboBox>("AxisStyleComboBox")->setCurrentIndex(3);
    Find<QSlider>("MarkLengthTrackBar")->setValue(9);
    Type("SafetyFactorSpinEdit", "25");
    Click("CancelButton");
    EXPECT_EQ(Form->result(), QDialog::Rejected);
    ExpectSameSettings(Settings, TPlaneSettings{});
}

TEST_F(GridSettingsTest, TrackBarShowsItsPosition) {
    Settings.MarkLength = 3;
    Open();
    EXPECT_EQ(Find<QLabel>("MarkLengthLabel")->text(), QStringLiteral("3px"));
    Find<QSlider>("MarkLengthTrackBar")->setValue(8);
    EXPECT_EQ(Find<QLabel>("MarkLengthLabel")->text(), QStringLiteral("8px"));
    Click("OKButton");
    EXPECT_EQ(Settings.MarkLength, 8);
}

TEST_F(GridSettingsTest, NegativeSpinValuesBecomeZero) {
    Open();
    for (const char* name : {"AccuracySpinEdit", "SafetySpaceSpinEdit", "SafetyFactorSpinEdit"}) {
        Type(name, "-7");
        EXPECT_EQ(Find<TSpinEdit>(name)->value(), 0) << name;
    }
    Click("OKButton");
    EXPECT_EQ(Settings.Accuracy, 0);
    EXPECT_EQ(Settings.SafetySpace, 0);
}

TEST_F(GridSettingsTest, ButtonsKeepWithinTheirLimits) {
    Open();
    auto* accuracy = Find<TSpinEdit>("AccuracySpinEdit");
    accuracy->setValue(8);
    accuracy->stepBy(1);
    EXPECT_EQ(accuracy->value(), 8);
    accuracy->setValue(0);
    accuracy->stepBy(-1);
    EXPECT_EQ(accuracy->value(), 0);
    auto* margin = Find<TSpinEdit>("SafetyFactorSpinEdit");
    margin->setValue(49);
    margin->stepBy(3);
    EXPECT_EQ(margin->value(), 49);
    auto* space = Find<TSpinEdit>("SafetySpaceSpinEdit");
    space->setValue(100);
    space->stepBy(1);
    EXPECT_EQ(space->value(), 101);
}

TEST_F(GridSettingsTest, ColourDialogStartsGreyThenWithTheLastColour) {
    TExpectedDialog red = TScriptedDialogs::Call(TDialogKind::Color);
    red.Color = Red;
    Dialogs.Expect(red);
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::Color, std::nullopt, false));
    TExpectedDialog green = TScriptedDialogs::Call(TDialogKind::Color);
    green.Color = Green;
    Dialogs.Expect(green);
    Open();
    QTest::mouseClick(Find<TColorShape>("GridColorShape"), Qt::LeftButton);
    QTest::mouseClick(Find<TColorShape>("AxisColorShape"), Qt::LeftButton);  // cancelled
    QTest::mouseClick(Find<TColorShape>("BackGroundColorShape"), Qt::LeftButton);
    EXPECT_EQ(Dialogs.Initial, (std::vector<std::uint32_t>{Grey, Red, Red}));
    EXPECT_EQ(Find<TColorShape>("AxisColorShape")->BrushColor(), 0u);
    Click("OKButton");
    EXPECT_EQ(Settings.GridColor, Red);
    EXPECT_EQ(Settings.AxisColor, 0u);
    EXPECT_EQ(Settings.BackGroundColor, Green);

    // A new dialog starts grey again.
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::Color, std::nullopt, false));
    Form.reset();
    Open();
    QTest::mouseClick(Find<TColorShape>("SubGridColorShape"), Qt::LeftButton);
    EXPECT_EQ(Dialogs.Initial.back(), Grey);
}

TEST_F(GridSettingsTest, StyleListsDrawTheirSampleInTheShapeColour) {
    TExpectedDialog red = TScriptedDialogs::Call(TDialogKind::Color);
    red.Color = Red;
    Dialogs.Expect(red);
    Open();
    auto* list = Find<TOwnerDrawComboBox>("SubGridStyleComboBox");
    list->setCurrentIndex(0);
    QTest::mouseClick(Find<TColorShape>("SubGridColorShape"), Qt::LeftButton);
    const QImage shown = list->grab().toImage();
    int redPixels = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x)
            redPixels += shown.pixelColor(x, y) == Qt::red;
    }
    EXPECT_GT(redPixels, 20);
    Click("OKButton");
    EXPECT_EQ(Settings.SubGridStyle, 0);
    EXPECT_EQ(Settings.SubGridColor, Red);
}

TEST_F(GridSettingsTest, AxisNamesAreWrittenAsTyped) {
    Open();
    auto* re = Find<QLineEdit>("ReLabelEdit");
    re->setText(FromCp1252("Wirk\xE4"));
    Click("OKButton");
    EXPECT_EQ(Settings.ReLabel, "Wirk\xE4");
    EXPECT_EQ(Settings.ImLabel, "Im");
}

}  // namespace
}  // namespace zeigora
