#include "windows/options/frmTolerance.h"

#include "core/settings/Settings.h"
#include "windows/controls/AppIcon.h"

frmTolerance::frmTolerance(QWidget* owner, SettingsRecord& settings)
    : QDialog(owner), settings_(settings)
{
    setObjectName(QStringLiteral("frmTolerance"));
    setWindowTitle(QStringLiteral("キー色の許容範囲"));
    setWindowIcon(AppIcon());
    setFixedSize(260, 104);
    LBL = new Label(this,
                    QStringLiteral("キー色との差がこの範囲にある色を半透明にし、"
                                   "キー色を取り除きます。0 はキー色だけ。"),
                    QRect(8, 8, 244, 34), BorderStyle::None, Qt::AlignLeft, false);
    LBL->setWordWrap(true);
    SPN = new QSpinBox(this);
    SPN->setGeometry(8, 46, 81, 21);
    SPN->setRange(0, 100);
    SPN->setSuffix(QStringLiteral(" %"));
    SPN->setValue(KeyToleranceChosen(settings));
    BTN[0] = new PushButton(this, QStringLiteral("OK"), QRect(8, 73, 89, 25));
    BTN[1] = new PushButton(this, QStringLiteral("キャンセル"), QRect(163, 73, 89, 25));
    SPN->setObjectName(QStringLiteral("SPN"));
    for (std::int16_t i : {0, 1}) {
        BTN[i]->setObjectName(QStringLiteral("BTN(%1)").arg(i));
        connect(BTN[i], &QPushButton::clicked, this, [this, i] { BTN_Click(i); });
    }
    BTN[0]->setDefault(true);
    SPN->setFocus();
    SPN->selectAll();
}

// A tolerance confirmed as it was is not a choice made: a settings file without one stays so.
void frmTolerance::BTN_Click(std::int16_t Index)
{
    if (Index == 0 && SPN->value() != KeyToleranceChosen(settings_))
        settings_.KeyTolerance = static_cast<std::int16_t>(SPN->value());
    Index == 0 ? accept() : reject();
}
