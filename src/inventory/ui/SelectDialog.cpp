#include "inventory/ui/SelectDialog.h"

SelectDialog::SelectDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSelect"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("选择煤种参与配煤"));
}

SelectDialog* SelectDialog::open(const QString& openner)
{
    auto* dialog = new SelectDialog;
    dialog->Openner = openner;
    dialog->show();
    return dialog;
}
