#include "qt/SettingsFailureRelay.h"

#include <QMetaObject>

#include "app/settings/WriteBehindSettingsStore.h"
#include "qt/Form1.h"

SettingsFailureRelay::SettingsFailureRelay(WriteBehindSettingsStore& store, Form1& form)
    : store_(store) {
    store_.setFailureListener([&form](const std::string& description) {
        QMetaObject::invokeMethod(
            &form, [&form, description] { form.settingsWriteFailed(description); },
            Qt::QueuedConnection);
    });
}

SettingsFailureRelay::~SettingsFailureRelay() {
    store_.setFailureListener({});
}
