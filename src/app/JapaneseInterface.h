#pragma once

class QApplication;

// The program is Japanese whatever the system's language. Qt's own dialogs and message-box
// buttons take Qt's Japanese translation (qtbase_ja from Qt's translations folder; without
// it they stay in English), and every window uses a proportional Japanese gothic at 12
// pixels: 9 points on the 96-dpi screen the fixed pixel layouts were drawn for.
void UseJapaneseInterface(QApplication& app);
