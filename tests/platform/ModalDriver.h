// Drives modal windows from timers: waits, without sleeping, until a modal
// widget of the wanted kind is up, then acts on it.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

template <class Widget>
void WhenModal(std::function<void(Widget*)> action, const QWidget* notThis = nullptr) {
    QTimer::singleShot(0, [action, notThis] {
        auto* widget = qobject_cast<Widget*>(QApplication::activeModalWidget());
        if (widget == nullptr || widget == notThis) {
            WhenModal<Widget>(action, notThis);
            return;
        }
        action(widget);
    });
}
