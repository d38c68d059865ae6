#pragma once

#include "inventory/CoalForm.h"
#include "ui/widgets/WindowContext.h"

#include <QWidget>

#include <optional>

class QLineEdit;
class QPushButton;
class ReportList;

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

    // The version of the coal the fields were read from; nothing for a new coal.
    std::optional<int> readVersion() const { return readVersion_; }

    // The conflict box's buttons, by position.
    enum ConflictChoice { Reload = 0, Overwrite = 1 };

signals:
    // A coal was written to the table (added when it was new); the editor
    // closes after it.
    void coalSaved(int id, bool added);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Fills the change record of the current coal (empty for a new one).
    void showChanges();
    // After a save: the message, then the editor closes.
    void saved(int id, bool added);

    WindowContext context_;
    int id_ = 0;
    std::optional<int> readVersion_;
    QLineEdit* fields_[kEditorFieldCount];
    QPushButton* btnSubmit_;
    ReportList* lsvXiugai_;
};
