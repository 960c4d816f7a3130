// Qt's own dialogs speak Japanese in a Japanese program, whatever the system's language.
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {
QStringList TextsOf(const QList<QLabel*>& labels)
{
    QStringList texts;
    for (const QLabel* label : labels)
        texts << label->text();
    return texts;
}

QStringList TextsOf(const QList<QPushButton*>& buttons)
{
    QStringList texts;
    for (const QPushButton* button : buttons)
        texts << button->text();
    return texts;
}

TEST(JapaneseInterface, QtsFileDialogAndMessageBoxButtonsAreJapanese)
{
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));

    QFileDialog open(nullptr, QStringLiteral("背景の画像"));
    open.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_TRUE(TextsOf(open.findChildren<QLabel*>()).contains(QStringLiteral("ファイル名(&N):")));
    const QStringList buttons = TextsOf(open.findChildren<QPushButton*>());
    EXPECT_TRUE(buttons.contains(QStringLiteral("開く(&O)"))) << buttons.join(' ').toStdString();
    EXPECT_TRUE(buttons.contains(QStringLiteral("キャンセル"))) << buttons.join(' ').toStdString();

    QMessageBox question;
    question.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(question.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
    EXPECT_EQ(question.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
}
} // namespace
