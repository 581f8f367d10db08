// Qt's own dialogs speak Japanese when the translation files are installed.
#include "app/VexilApplication.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <gtest/gtest.h>

TEST(QtTranslations, JapaneseDialogTextsOrPlainEnglishWithoutFiles) {
    EXPECT_EQ(VexilApplication::installQtTranslations(*QCoreApplication::instance(),
                                                     QStringLiteral("/nonexistent/folder")),
              nullptr);
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));

    QTranslator* translator = VexilApplication::installQtTranslations(
        *QCoreApplication::instance(), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    ASSERT_NE(translator, nullptr) << "qtbase_ja.qm is missing: run scripts/deps";
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    QCoreApplication::removeTranslator(translator);
    delete translator;
}
