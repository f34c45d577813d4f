#include "ui/TZuvMessageBoxForm.h"

#include "ui/FormControls.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>

namespace {
constexpr int kClientWidth = 485;
constexpr int kClientHeight = 67;
constexpr int kBevels = 2; // raised outer and lowered inner bevel, one pixel each
} // namespace

TZuvMessageBoxForm::TZuvMessageBoxForm(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("ZuvMessageBoxForm"));
    SetCaption("Z.U.V.Editorちゃん MessageBox");
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(kClientWidth, kClientHeight);
    SetFormFont(this);

    BasePanel = new QFrame(this);
    BasePanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    BasePanel->setLineWidth(1);
    BasePanel->setMidLineWidth(0);
    BasePanel->setGeometry(0, 0, kClientWidth, kClientHeight);

    auto* innerBevel = new QFrame(BasePanel);
    innerBevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    innerBevel->setLineWidth(1);
    innerBevel->setGeometry(1, 1, kClientWidth - 2, kClientHeight - 2);

    MessageGroupBox = new QGroupBox(QStringLiteral(" Z.U.V.Editorちゃん "), BasePanel);
    MessageGroupBox->setGeometry(kBevels, kBevels, kClientWidth - 2 * kBevels,
                                 kClientHeight - 2 * kBevels);

    NoticeLabel = AddCenteredLabel(MessageGroupBox, 6, 16, 467, 43);
    NoticeLabel->setText(QStringLiteral("message"));

    CenterOnScreen(this);
}
