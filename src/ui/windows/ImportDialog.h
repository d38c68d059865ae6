#pragma once

#include "inventory/CoalImport.h"
#include "ui/widgets/WindowContext.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class ImportReadJob;
class QGroupBox;
class QLabel;
class QProgressDialog;
class QPushButton;
class QRadioButton;
class ReportList;

// frmImport: what importing a file would do, row by row, before anything is
// written; the user chooses once what happens to names the inventory already
// has, then imports the good rows in one go or cancels.
class ImportDialog : public QDialog {
    Q_OBJECT
public:
    explicit ImportDialog(const WindowContext& context, QWidget* parent = nullptr);
    ~ImportDialog() override;

    // Reads the file on a worker thread, with a progress dialog when that
    // takes longer than half a second. Then the dialog shows the preview, or
    // says why the file cannot be imported and goes away. Always ends in
    // fileRead, never before control is back in the event loop.
    void readFile(const QString& path);
    bool reading() const;

    ExistingNames existingChoice() const;

    // Handlers, named after their controls and events.
    void optExisting_Click();
    void btnImport_Click();
    void btnCancel_Click();

Q_SIGNALS:
    // The preview is shown (true), or the file could not be read or its
    // reading was cancelled (false; the dialog then deletes itself).
    void fileRead(bool shown);
    // Coals were written to the inventory.
    void coalsImported();

private:
    void onReadFinished();
    void readFailed(const Failure& failure);
    void showPreview();
    void closeProgress();

    WindowContext context_;
    QString path_;
    std::unique_ptr<ImportPreview> preview_;
    ImportReadJob* job_ = nullptr;
    QPointer<QProgressDialog> progress_;

    QLabel* lbFile_;
    QLabel* lbSummary_;
    QLabel* lbUnknown_;
    ReportList* lsvPreview_;
    QGroupBox* fraExisting_;
    QRadioButton* optExisting_[2];
    QPushButton* btnImport_;
    QPushButton* btnCancel_;
};
