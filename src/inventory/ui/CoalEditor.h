#pragma once

#include "inventory/CoalForm.h"

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QPushButton;

// frmUpdate: types in one coal, new (id 0) or already in the table.
class CoalEditor : public QWidget {
    Q_OBJECT
public:
    explicit CoalEditor(QWidget* parent = nullptr);

    static CoalEditor* instance();  // the one editor
    static CoalEditor* existing();  // nullptr when not open

    // The coal being edited; 0 for a new one. Setting it refills the fields
    // from that coal (or empties them for 0), so the fields on screen always
    // belong to the number a confirm will write to.
    int id() const { return id_; }
    void setId(int id);

    void btnSubmit_Click();

    CoalFields fields() const;
    void setFields(const CoalFields& fields);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    int id_ = 0;
    QLineEdit* fields_[kEditorFieldCount];
    QPushButton* btnSubmit_;
};
