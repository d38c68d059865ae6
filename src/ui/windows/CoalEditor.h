#pragma once

#include "inventory/CoalForm.h"
#include "ui/widgets/WindowContext.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

// frmUpdate: types in one coal, new (id 0) or already in the table.
class CoalEditor : public QWidget {
    Q_OBJECT
public:
    explicit CoalEditor(const WindowContext& context, QWidget* parent = nullptr);

    // The coal being edited; 0 for a new one. Setting it refills the fields
    // from that coal (or empties them for 0), so the fields on screen always
    // belong to the number a confirm will write to.
    int id() const { return id_; }
    void setId(int id);

    void btnSubmit_Click();

    CoalFields fields() const;
    void setFields(const CoalFields& fields);

Q_SIGNALS:
    // A coal was written to the table (added when it was new); the editor
    // closes after it.
    void coalSaved(int id, bool added);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    WindowContext context_;
    int id_ = 0;
    QLineEdit* fields_[kEditorFieldCount];
    QPushButton* btnSubmit_;
};
