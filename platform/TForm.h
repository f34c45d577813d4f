// Forms over Qt widgets with the class library's behaviour. TFormAdapter adds
// Show, Close, Caption, ActiveControl, sizes and the OnShow / OnCloseQuery hooks
// to a Qt top-level widget; TForm (a QDialog) adds modal runs with ModalResult,
// TMainForm (a QMainWindow) has the menu bar and status bar of a main window.
#pragma once

#include "platform/AnsiString.h"
#include "platform/TApplication.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMainWindow>
#include <QShowEvent>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

template <class Base> class TFormAdapter : public Base {
public:
    explicit TFormAdapter(QWidget* parent = nullptr) : Base(parent) {}

    // Visible, in front and active.
    void Show() {
        Base::show();
        Base::raise();
        Base::activateWindow();
    }
    // Runs the close query; a form that is not the main form is only hidden.
    void Close() { Base::close(); }
    // Paints pending changes now, before the caller goes on with long work.
    void Update() {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        Base::repaint();
    }

    AnsiString Caption() const { return Base::windowTitle().toUtf8().toStdString(); }
    void SetCaption(const AnsiString& caption) {
        Base::setWindowTitle(QString::fromUtf8(caption.data(), qsizetype(caption.size())));
    }

    // Gives the control the focus now, or when the form is next shown.
    void SetActiveControl(QWidget* control) { control->setFocus(Qt::OtherFocusReason); }

    int ClientWidth() const { return Base::width(); }
    int ClientHeight() const { return Base::height(); }
    void SetClientSize(int width, int height) {
        wantedSize.reset();
        Base::resize(width, height);
    }
    // Outer size, frame included. The frame is known only once the window is
    // shown, so a size set before is kept and applied again when it is.
    int Width() const { return OuterSize().width(); }
    int Height() const { return OuterSize().height(); }
    void SetSize(int width, int height) {
        wantedSize = QSize(width, height);
        frameAllowedFor.reset();
        KeepWantedSize();
    }
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }

    // Set canClose to false to keep the form open.
    std::function<void(bool& canClose)> OnCloseQuery;
    std::function<void()> OnShow;

protected:
    bool event(QEvent* event) override {
        const bool handled = Base::event(event);
        const QEvent::Type type = event->type();
        if (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize) {
            KeepWantedSize();
        }
        return handled;
    }

    void showEvent(QShowEvent* event) override {
        Base::showEvent(event);
        if (OnShow) {
            Guarded(OnShow);
        }
    }

    void closeEvent(QCloseEvent* event) override {
        if (!CloseQuery()) {
            event->ignore();
            return;
        }
        Base::closeEvent(event);
        if (event->isAccepted()) {
            Application->FormClosed(this);
        }
    }

private:
    QSize OuterSize() const {
        return wantedSize && !Base::isVisible() ? *wantedSize : Base::frameGeometry().size();
    }

    // Resizes only when the frame differs from the one last allowed for, so the
    // user's own resizing is never undone; done once a shown window has a frame.
    void KeepWantedSize() {
        if (!wantedSize) {
            return;
        }
        const QSize frame = Base::frameGeometry().size() - Base::size();
        if (frame == frameAllowedFor) {
            return;
        }
        frameAllowedFor = frame;
        Base::resize(*wantedSize - frame);
        if (Base::isVisible() && !frame.isNull()) {
            wantedSize.reset();
        }
    }

    bool CloseQuery() {
        bool canClose = true;
        if (OnCloseQuery) {
            bool answered = false;
            Guarded([&] {
                OnCloseQuery(canClose);
                answered = true;
            });
            canClose = canClose && answered;
        }
        return canClose;
    }

    std::optional<QSize> wantedSize;
    std::optional<QSize> frameAllowedFor;
};

class TForm : public TFormAdapter<QDialog> {
public:
    explicit TForm(QWidget* parent = nullptr);

    // Runs the form modally until a handler sets ModalResult or the form is
    // closed (which gives mrCancel).
    TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult; }
    // A result other than mrNone ends a running modal run.
    void SetModalResult(TModalResult result);

protected:
    void reject() override;
    // Escape does nothing, as on a form without a cancel button.
    void keyPressEvent(QKeyEvent* event) override;

private:
    TModalResult modalResult = mrNone;
    bool inModalRun = false;
};

class TMainForm : public TFormAdapter<QMainWindow> {
public:
    explicit TMainForm(QWidget* parent = nullptr) : TFormAdapter<QMainWindow>(parent) {}
};
