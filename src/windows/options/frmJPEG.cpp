#include "windows/options/frmJPEG.h"

#include "windows/controls/AppIcon.h"

namespace {
Label* ReadOut(QWidget* parent)
{
    return new Label(parent, QStringLiteral("1"), QRect(120, 16, 33, 17), BorderStyle::ThreeD,
                     Qt::AlignRight, false);
}

Label* Caption(QWidget* parent, const QString& text, int x, int y)
{
    return new Label(parent, text, QRect(x, y, 105, 17), BorderStyle::None, Qt::AlignRight, false);
}
} // namespace

frmJPEG::frmJPEG(QWidget* owner, SettingsRecord& settings) : QDialog(owner), settings_(settings)
{
    setWindowTitle(QStringLiteral("保存オプション"));
    setWindowIcon(AppIcon());
    setFixedSize(312, 175);

    BoxLine[1] = new GroupFrame(this, QStringLiteral("PNG"), QRect(8, 88, 297, 49));
    ASCR[1] = new ScrollBar(BoxLine[1], Qt::Horizontal, QRect(152, 16, 137, 17), 0, 2, 1);
    DSP[1] = ReadOut(BoxLine[1]);
    LBL[2] = Caption(BoxLine[1], QStringLiteral("圧縮率"), 0, 19);
    BoxLine[0] = new GroupFrame(this, QStringLiteral("JPEG"), QRect(8, 8, 297, 73));
    CHK = new QCheckBox(QStringLiteral("保存する"), BoxLine[0]);
    CHK->setGeometry(120, 40, 113, 17);
    ASCR[0] = new ScrollBar(BoxLine[0], Qt::Horizontal, QRect(152, 16, 137, 17), 1, 100, 1);
    DSP[0] = ReadOut(BoxLine[0]);
    LBL[1] = Caption(BoxLine[0], QStringLiteral("プログレッシブタイプ"), 8, 43);
    LBL[0] = Caption(BoxLine[0], QStringLiteral("圧縮率"), 8, 19);
    BTN[1] = new PushButton(this, QStringLiteral("閉じる"), QRect(216, 144, 89, 25));
    BTN[0] = new PushButton(this, QStringLiteral("保存"), QRect(8, 144, 89, 25));

    for (int i : {0, 1}) {
        BoxLine[i]->setObjectName(QStringLiteral("BoxLine(%1)").arg(i));
        ASCR[i]->setObjectName(QStringLiteral("ASCR(%1)").arg(i));
        DSP[i]->setObjectName(QStringLiteral("DSP(%1)").arg(i));
        BTN[i]->setObjectName(QStringLiteral("BTN(%1)").arg(i));
    }
    CHK->setObjectName(QStringLiteral("CHK"));
    for (std::int16_t i : {0, 1}) {
        connect(ASCR[i], &ScrollBar::change, this, [this, i] { ASCR_Change(i); });
        connect(BTN[i], &QPushButton::clicked, this, [this, i] { BTN_Click(i); });
    }
    setTabOrder(BTN[0], BTN[1]);
    setTabOrder(BTN[1], ASCR[0]);
    setTabOrder(ASCR[0], CHK);
    setTabOrder(CHK, ASCR[1]);
    BTN[0]->setFocus();
    Form_Load();
}
