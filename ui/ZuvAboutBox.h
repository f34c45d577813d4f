// The About box: one form, shown without waiting, brought to the front when
// it is open already.
#pragma once

#include "ui/TZuvAboutBoxForm.h"

#include <QPointer>

class ZuvEditor;

class ZuvAboutBox {
public:
    explicit ZuvAboutBox(ZuvEditor* editor);
    ~ZuvAboutBox();
    ZuvAboutBox(const ZuvAboutBox&) = delete;
    ZuvAboutBox& operator=(const ZuvAboutBox&) = delete;

    void Show();

private:
    ZuvEditor* editor;
    // The application owns the form too and may delete it first.
    QPointer<TZuvAboutBoxForm> form;
};
