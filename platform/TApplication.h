// The application object: owns the forms, runs the event loop until the main
// form closes, and shows exceptions that reach a published handler.
#pragma once

#include "platform/Exception.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <exception>
#include <utility>
#include <vector>

enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

class TApplication {
public:
    // Needs a QApplication; registers the Japanese font substitutes.
    void Initialize();

    // The application owns the new form; the first one created is the main form.
    template <class Form, class... Args> Form* CreateForm(Args&&... args) {
        auto* form = new Form(std::forward<Args>(args)...);
        AddForm(form);
        return form;
    }
    QWidget* MainForm() const { return mainForm; }

    // Runs the event loop until the main form has closed, then deletes the
    // forms the application still owns.
    void Run();
    void DestroyForms();

    // A modal error box with the exception's message.
    void ShowException(const Exception& exception);

    // Called by a form whose close went through: the main form ends Run.
    void FormClosed(const QWidget* form);

private:
    void AddForm(QWidget* form);

    std::vector<QPointer<QWidget>> forms;
    QPointer<QWidget> mainForm;
    bool running = false;
};

extern TApplication* Application;

// Runs a published handler so that no exception reaches Qt: Exception and
// std::exception are shown with ShowException, anything else as an unknown error.
template <class Handler> void Guarded(Handler&& handler) noexcept {
    try {
        handler();
    } catch (const Exception& exception) {
        Application->ShowException(exception);
    } catch (const std::exception& exception) {
        Application->ShowException(Exception(exception.what()));
    } catch (...) {
        Application->ShowException(Exception("不明なエラーが発生しました。"));
    }
}

// Connects a signal to a handler taking no arguments, run inside Guarded; the
// connection ends with context.
template <class Sender, class Signal, class Handler>
QMetaObject::Connection ConnectHandler(Sender* sender, Signal signal, QObject* context,
                                       Handler handler) {
    return QObject::connect(sender, signal, context,
                            [handler = std::move(handler)]() { Guarded(handler); });
}
