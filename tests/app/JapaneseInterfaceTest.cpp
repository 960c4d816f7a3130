// Qt's own dialogs speak Japanese in a Japanese program, whatever the system's language.
#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {
template <typename Control>
QStringList TextsOf(const QWidget& window)
{
    QStringList texts;
    for (const Control* control : window.findChildren<Control*>())
        texts << control->text();
    return texts;
}

TEST(JapaneseInterface, QtsFileDialogAndMessageBoxButtonsAreJapanese)
{
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    QFileDialog open;
    open.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_TRUE(TextsOf<QLabel>(open).contains(QStringLiteral("ファイル名(&N):")));
    const QStringList buttons = TextsOf<QPushButton>(open);
    EXPECT_TRUE(buttons.contains(QStringLiteral("開く(&O)")) && buttons.contains(QStringLiteral("キャンセル")))
        << buttons.join(' ').toStdString();
    QMessageBox question;
    question.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(TextsOf<QPushButton>(question), (QStringList{QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)")}));
}
} // namespace
