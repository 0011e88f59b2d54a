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
#include <tuple>
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

auto Fields(const TPlaneSettings& s) {
    return std::tie(s.GridColor, s.GridStyle, s.SubGridColor, s.SubGridStyle, s.AxisColor,
                    s.AxisStyle, s.ShowNumbers, s.Accuracy, s.SafetySpace, s.MarkLength,
                    s.BackGroundColor, s.ReLabel, s.ImLabel, s.AutoValues, s.MarginFactor, s.Scale1,
                    s.GridVisible);
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
        Form.reset();
        Form = std::make_unique<TGridSettingsForm>(Settings);
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }
    template <typename T = QWidget>
    T* Find(const char* name) {
        T* widget = Form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }
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
    EXPECT_EQ(Find<TSpinEdit>("AccuracySpinEdit")->value(), 2);
    EXPECT_EQ(Find<TSpinEdit>("SafetySpaceSpinEdit")->value(), 3);
    EXPECT_EQ(Find<QLabel>("MarkLengthLabel")->text(), QStringLiteral("5px"));
    EXPECT_EQ(Find<TSpinEdit>("SafetyFactorSpinEdit")->value(), 10);
    Find<QSlider>("MarkLengthTrackBar")->setValue(8);
    EXPECT_EQ(Find<QLabel>("MarkLengthLabel")->text(), QStringLiteral("8px"));
}

TEST_F(GridSettingsTest, OpenAndOkChangesNothing) {
    TPlaneSettings custom;
    custom.GridColor = 0x123456;
    custom.GridStyle = 3;
    custom.SubGridStyle = 1;
    custom.ShowNumbers = false;
    custom.Accuracy = 5;
    custom.SafetySpace = 0;
    custom.MarkLength = 8;
    custom.ReLabel = "\xC4u\xDF";
    custom.ImLabel = "";
    custom.AutoValues = false;
    custom.MarginFactor = 2.0;
    for (const TPlaneSettings& start : {TPlaneSettings{}, custom}) {
        Settings = start;
        Open();
        EXPECT_EQ(Find<TSpinEdit>("SafetyFactorSpinEdit")->value(),
                  start.MarginFactor == 2.0 ? 25 : 10);
        // Loaded unchecked, the number controls open disabled.
        EXPECT_EQ(Find("AccuracySpinEdit")->isEnabled(), start.ShowNumbers);
        Click("OKButton");
        EXPECT_EQ(Form->result(), QDialog::Accepted);
        EXPECT_EQ(Fields(Settings), Fields(start));
    }
}

TEST_F(GridSettingsTest, ShowNumbersEnablesItsControls) {
    Open();
    for (const bool checked : {false, true}) {
        QTest::mouseClick(Find<QCheckBox>("ShowNumbersCheckBox"), Qt::LeftButton);
        for (const char* name :
             {"AccuracySpinEdit", "SafetySpaceSpinEdit", "Label6", "Label7", "AutoValuesCheckBox"})
            EXPECT_EQ(Find(name)->isEnabled(), checked) << name;
    }
}

TEST_F(GridSettingsTest, MarginPercentGivesTheFactor) {
    // 0 % and 50 % and more would leave no inner plane; the margin stays within 1..49.
    const std::pair<const char*, double> cases[] = {{"10", 1.25},        {"25", 2.0},
                                                    {"1", 100.0 / 98.0}, {"49", 50.0},
                                                    {"0", 100.0 / 98.0}, {"60", 50.0}};
    for (const auto& [typed, factor] : cases) {
        Open();
        Type("SafetyFactorSpinEdit", typed);
        Click("OKButton");
        EXPECT_DOUBLE_EQ(Settings.MarginFactor, factor) << typed;
    }
    const std::pair<double, int> percents[] = {
        {1.25, 10}, {1.0, 1}, {1000.0, 49}, {-3.0, 49}, {std::nan(""), 10}};
    for (const auto& [factor, percent] : percents)
        EXPECT_EQ(MarginPercent(factor), percent) << factor;
}

TEST_F(GridSettingsTest, CancelAfterChangesKeepsTheSettings) {
    Dialogs.ExpectColor(Green);
    Open();
    Click("BackGroundColorShape");
    Find<TOwnerDrawComboBox>("AxisStyleComboBox")->setCurrentIndex(3);
    Find<QSlider>("MarkLengthTrackBar")->setValue(9);
    Type("SafetyFactorSpinEdit", "25");
    Click("CancelButton");
    EXPECT_EQ(Form->result(), QDialog::Rejected);
    EXPECT_EQ(Fields(Settings), Fields(TPlaneSettings{}));
}

TEST_F(GridSettingsTest, SpinValuesStayWithinTheirLimits) {
    Open();
    for (const char* name : {"AccuracySpinEdit", "SafetySpaceSpinEdit", "SafetyFactorSpinEdit"}) {
        Type(name, "-7");
        EXPECT_EQ(Find<TSpinEdit>(name)->value(), 0) << name;
    }
    // The buttons stop at 0..8 and 1..49; the distance has no button limit.
    const std::tuple<const char*, int, int, int> steps[] = {{"AccuracySpinEdit", 8, 1, 8},
                                                            {"AccuracySpinEdit", 0, -1, 0},
                                                            {"SafetyFactorSpinEdit", 49, 3, 49},
                                                            {"SafetySpaceSpinEdit", 100, 1, 101}};
    for (const auto& [name, start, step, after] : steps) {
        auto* spin = Find<TSpinEdit>(name);
        spin->setValue(start);
        spin->stepBy(step);
        EXPECT_EQ(spin->value(), after) << name << " " << start;
    }
}

TEST_F(GridSettingsTest, ColourDialogStartsGreyThenWithTheLastColour) {
    for (const auto color : {std::optional(Red), std::optional<TColor>(), std::optional(Green),
                             std::optional<TColor>()})
        Dialogs.ExpectColor(color);
    Open();
    Find<TOwnerDrawComboBox>("SubGridStyleComboBox")->setCurrentIndex(0);
    Click("SubGridColorShape");
    Click("AxisColorShape");  // cancelled
    Click("BackGroundColorShape");
    EXPECT_EQ(Dialogs.Initial, (std::vector<std::uint32_t>{Grey, Red, Red}));
    // The style list draws its sample in the shape's colour.
    const QImage shown = Find("SubGridStyleComboBox")->grab().toImage();
    int redPixels = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x)
            redPixels += shown.pixelColor(x, y) == Qt::red;
    }
    EXPECT_GT(redPixels, 20);
    Click("OKButton");
    EXPECT_EQ(Settings.SubGridColor, Red);
    EXPECT_EQ(Settings.AxisColor, 0u);
    EXPECT_EQ(Settings.BackGroundColor, Green);

    Open();  // a new dialog starts grey again
    Click("GridColorShape");
    EXPECT_EQ(Dialogs.Initial.back(), Grey);
}

}  // namespace
}  // namespace zeigora
