// Only Enter, letters and digits have codes: punctuation equal to the arrows' old codes and
// a function key whose low byte is a digit's must not pass for them.
#include "windows/controls/InputCodes.h"

#include <gtest/gtest.h>

TEST(KeyCode, EnterLettersAndDigitsHaveCodesEveryOtherKeyNone)
{
    const std::pair<int, int> rows[] = {
        {Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_A, 'A'}, {Qt::Key_Z, 'Z'}, {Qt::Key_0, '0'},
        {Qt::Key_9, '9'}, {Qt::Key_Percent, 0}, {Qt::Key_Apostrophe, 0}, {Qt::Key_Ampersand, 0},
        {Qt::Key_ParenLeft, 0}, {Qt::Key_F1, 0}, {Qt::Key_Left, 0}, {Qt::Key_Escape, 0}, {Qt::Key_Adiaeresis, 0}};
    for (const auto& [key, code] : rows)
        EXPECT_EQ(KeyCode(key), code) << std::hex << key;
}
