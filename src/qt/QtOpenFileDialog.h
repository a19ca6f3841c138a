// The open-file dialog on Qt: the platform's own dialog where it has one.
#pragma once

#include <QPointer>
#include <QWidget>

#include "select/OpenFileDialog.h"

class QtOpenFileDialog : public OpenFileDialog {
  public:
    void setOwner(QWidget* owner) { owner_ = owner; }

    void setFileName(const std::string& name) override { fileName_ = name; }
    std::string fileName() const override { return fileName_; }
    // The flags ask for long names, the explorer style and a read-only box whose state is
    // never read; Qt's dialog is all of that without them.
    void setFlags(std::int32_t) override {}
    void setDialogTitle(const std::string& title) override { title_ = title; }
    void setFilter(const std::string& filter) override { filter_ = filter; }
    void ShowOpen() override;

    // "Description|pattern|..." as Qt's name filters: "Description (pattern)".
    static QStringList NameFilters(const std::string& filter);

  private:
    QPointer<QWidget> owner_;
    std::string fileName_, title_, filter_;
};
