// Answers modal dialogs from a timer: each step waits until a modal dialog of
// the wanted type is up, then acts on it. Pending steps die with the driver,
// so a step can never act in a later test.
#pragma once

#include <QApplication>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace zuvtest {

class ModalDriver {
public:
    // Runs action with the dialog once a modal Dialog is the active modal widget.
    template <class Dialog> void When(std::function<void(Dialog*)> action) {
        Poll<Dialog>(std::move(action), kAttempts);
    }

private:
    static constexpr int kAttempts = 1000;
    static constexpr int kIntervalMs = 5;

    template <class Dialog> void Poll(std::function<void(Dialog*)> action, int attemptsLeft) {
        QTimer::singleShot(kIntervalMs, &context, [this, action = std::move(action), attemptsLeft] {
            if (auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget())) {
                action(dialog);
            } else if (attemptsLeft > 0) {
                Poll<Dialog>(action, attemptsLeft - 1);
            } else {
                ADD_FAILURE() << "the expected modal dialog never came up";
            }
        });
    }

    QObject context;
};

} // namespace zuvtest
