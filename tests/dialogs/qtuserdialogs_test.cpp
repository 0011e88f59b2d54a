#include "dialogs/qtuserdialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include "platform/cp1252.h"
#include "support/modaldialog.h"

namespace zeigora {
namespace {

TEST(QtUserDialogsTest, QuestionsSpeakGerman) {
    for (const auto& [button, proceeds] :
         {std::pair{QMessageBox::Yes, true}, std::pair{QMessageBox::No, false}}) {
        test::WhenModal<QMessageBox>([button = button](QMessageBox& box) {
            EXPECT_EQ(ToCp1252(box.button(QMessageBox::Yes)->text()), "Ja");
            EXPECT_EQ(ToCp1252(box.button(QMessageBox::No)->text()), "Nein");
            box.button(button)->click();
        });
        EXPECT_EQ(TQtUserDialogs().AskYesNo("Fortfahren?", TQuestionIcon::Question), proceeds);
    }
}

TEST(QtUserDialogsTest, SavedNameGetsTheExtensionOfTheChosenFilter) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString typed = folder.filePath(QStringLiteral("Bild"));
    test::WhenModal<QFileDialog>([typed](QFileDialog& dialog) {
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        types->setCurrentIndex(1);
        // What a user's choice in the list emits.
        emit types->activated(1);
        emit types->textActivated(types->itemText(1));
        dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    const auto choice = TQtUserDialogs().GetSaveFileName(
        "", "Bitmaps (*.bmp)|*.bmp|Enhanced Metafiles (*.emf)|*.emf", "*.bmp", true);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->FilterIndex, 2);
    EXPECT_EQ(choice->FileName, (typed + QStringLiteral(".emf")).toStdString());
}

TEST(FileFiltersTest, ClassicPairsBecomeQtFiltersWithTheirExtension) {
    const TFileFilterArray filters =
        ParseFileFilters("Bitmaps (*.bmp)|*.bmp|Enhanced Metafiles (*.emf)|*.emf|Alle|*.*");
    ASSERT_EQ(filters.size(), 3u);
    EXPECT_EQ(QtNameFilters(filters),
              QStringList({"Bitmaps (*.bmp)", "Enhanced Metafiles (*.emf)", "Alle (*.*)"}));
    EXPECT_EQ(SuffixForFilter(filters[1], "*.bmp"), "emf");
    EXPECT_EQ(SuffixForFilter(filters[2], "*.bmp"), "bmp");
    EXPECT_TRUE(ParseFileFilters("").empty());
}

}  // namespace
}  // namespace zeigora
