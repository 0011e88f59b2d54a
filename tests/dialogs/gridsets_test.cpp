#include "dialogs/gridsets.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <cmath>
#include <memory>

#include "dialogs/scripteddialogs_support.h"

namespace zeigora {
namespace {

auto Fields(const TPlaneSettings& s) {
    return std::tie(s.GridColor, s.GridStyle, s.SubGridColor, s.SubGridStyle, s.AxisColor,
                    s.AxisStyle, s.ShowNumbers, s.Accuracy, s.SafetySpace, s.MarkLength,
                    s.BackGroundColor, s.ReLabel, s.ImLabel, s.AutoValues, s.MarginFactor, s.Scale1,
                    s.GridVisible);
}

class GridSettingsTest : public TScriptedDialogsTest {
  protected:
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

    TPlaneSettings Settings;
    std::unique_ptr<TGridSettingsForm> Form;
};

TEST_F(GridSettingsTest, OkWithoutChangesAndCancelAfterChangesKeepTheSettings) {
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
    Settings = custom;
    Open();
    Click("OKButton");
    EXPECT_EQ(Fields(Settings), Fields(custom));
    // Abbrechen after changes keeps the settings.
    Dialogs.ExpectColor(0x00FF00);
    Open();
    Click("BackGroundColorShape");
    Type("SafetyFactorSpinEdit", "25");
    Click("CancelButton");
    EXPECT_EQ(Fields(Settings), Fields(custom));
}

TEST_F(GridSettingsTest, MarginPercentGivesTheFactor) {
    // 0 % and 50 % and more would leave no inner plane; the margin stays within 1..49.
    const std::pair<const char*, double> cases[] = {
        {"10", 1.25}, {"0", 100.0 / 98.0}, {"60", 50.0}};
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

}  // namespace
}  // namespace zeigora
