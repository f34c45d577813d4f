#include "ui/FormControls.h"

#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QWidget>

QString ToQString(const AnsiString& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

AnsiString ToAnsiString(const QString& text) {
    return text.toUtf8().toStdString();
}

void SetFormFont(QWidget* form) {
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    form->setFont(font);
}

void SetDialogFrame(QWidget* form, int clientWidth, int clientHeight) {
    form->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint);
    form->setFixedSize(clientWidth, clientHeight);
}

void CenterOnScreen(QWidget* form) {
    const QScreen* screen = form->screen() ? form->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    QRect frame = form->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    form->move(frame.topLeft());
}

QLabel* AddLabel(QWidget* parent, const QString& caption, int left, int top) {
    auto* label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLabel* AddCenteredLabel(QWidget* parent, int left, int top, int width, int height) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    label->setGeometry(left, top, width, height);
    return label;
}

QPushButton* AddButton(QWidget* parent, const QString& caption, int left, int top, int width,
                       int height) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(left, top, width, height);
    return button;
}

QFrame* AddPanel(QWidget* parent, int left, int top, int width, int height) {
    auto* panel = new QFrame(parent);
    panel->setFrameShape(QFrame::NoFrame);
    panel->setGeometry(left, top, width, height);
    return panel;
}

QRadioButton* AddRadioButton(QWidget* parent, const QString& caption, int left, int top, int width,
                             int height) {
    auto* button = new QRadioButton(caption, parent);
    button->setGeometry(left, top, width, height);
    return button;
}

void CheckKanjiCode(const KanjiCodeButtons& buttons, KanjiCode code) {
    switch (code) {
    case KanjiCode::SJIS:
        buttons.sjis->setChecked(true);
        break;
    case KanjiCode::JIS:
        buttons.jis->setChecked(true);
        break;
    case KanjiCode::EUC:
        buttons.euc->setChecked(true);
        break;
    default:
        break;
    }
}

void CheckNewlineType(const NewlineTypeButtons& buttons, NewlineType type) {
    switch (type) {
    case NewlineType::CR_LF:
        buttons.crlf->setChecked(true);
        break;
    case NewlineType::LF:
        buttons.lf->setChecked(true);
        break;
    case NewlineType::CR:
        buttons.cr->setChecked(true);
        break;
    default:
        break;
    }
}

KanjiCode CheckedKanjiCode(const KanjiCodeButtons& buttons) {
    if (buttons.sjis->isChecked()) {
        return KanjiCode::SJIS;
    }
    if (buttons.jis->isChecked()) {
        return KanjiCode::JIS;
    }
    if (buttons.euc->isChecked()) {
        return KanjiCode::EUC;
    }
    return KanjiCode::UNKNOWN;
}

NewlineType CheckedNewlineType(const NewlineTypeButtons& buttons) {
    if (buttons.crlf->isChecked()) {
        return NewlineType::CR_LF;
    }
    if (buttons.cr->isChecked()) {
        return NewlineType::CR;
    }
    if (buttons.lf->isChecked()) {
        return NewlineType::LF;
    }
    return NewlineType::UNKNOWN;
}
