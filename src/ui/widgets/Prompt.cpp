#include "ui/widgets/Prompt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QInputDialog>
#include <QPushButton>
#include <QQueue>

namespace {

struct State {
    bool testMode = false;
    QQueue<QMessageBox::StandardButton> answers;
    QQueue<int> choices;
    QQueue<QString> texts;
    struct FileAnswer {
        QString path;
        QString filter;
    };
    QQueue<FileAnswer> fileNames;
    QList<Prompt::Shown> shown;
    QList<Prompt::FileRequest> fileRequests;
    QStringList opened;
};

State& state()
{
    static State s;
    return s;
}

QMessageBox::Icon ToBoxIcon(Prompt::Icon icon)
{
    switch (icon) {
    case Prompt::Icon::Information: return QMessageBox::Information;
    case Prompt::Icon::Warning: return QMessageBox::Warning;
    case Prompt::Icon::Critical: return QMessageBox::Critical;
    case Prompt::Icon::Question: return QMessageBox::Question;
    case Prompt::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton FirstButton(QMessageBox::StandardButtons buttons)
{
    for (auto b : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
        if (buttons.testFlag(b))
            return b;
    return QMessageBox::Ok;
}

}  // namespace

QString ApplicationTitle()
{
    return QCoreApplication::translate("Prompt", "Velmora配煤软件");
}

QMessageBox::StandardButton Prompt::show(QWidget* parent, const QString& text, const QString& title,
                                         Icon icon, QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton)
{
    const QString caption = title.isEmpty() ? ApplicationTitle() : title;
    State& s = state();
    if (s.testMode) {
        s.shown.append({text, caption, icon, buttons});
        if (!s.answers.isEmpty())
            return s.answers.dequeue();
        return defaultButton != QMessageBox::NoButton ? defaultButton : FirstButton(buttons);
    }
    QMessageBox box(ToBoxIcon(icon), caption, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

int Prompt::choose(QWidget* parent, const QString& text, const QString& title, Icon icon, const QStringList& choices,
                   int defaultIndex, int cancelIndex)
{
    const QString caption = title.isEmpty() ? ApplicationTitle() : title;
    State& s = state();
    if (s.testMode) {
        s.shown.append({text, caption, icon, QMessageBox::NoButton, choices});
        return s.choices.isEmpty() ? defaultIndex : s.choices.dequeue();
    }
    QMessageBox box(ToBoxIcon(icon), caption, text, QMessageBox::NoButton, parent);
    QList<QPushButton*> buttons;
    for (int i = 0; i < choices.size(); ++i)
        buttons << box.addButton(choices[i], i == cancelIndex ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
    if (defaultIndex >= 0 && defaultIndex < buttons.size())
        box.setDefaultButton(buttons[defaultIndex]);
    box.exec();
    const int pressed = static_cast<int>(buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
    return pressed < 0 ? cancelIndex : pressed;
}

std::optional<QString> Prompt::password(QWidget* parent, const QString& title, const QString& label)
{
    const QString caption = title.isEmpty() ? ApplicationTitle() : title;
    State& s = state();
    if (s.testMode) {
        s.shown.append({label, caption, Icon::Question, QMessageBox::Ok | QMessageBox::Cancel});
        if (s.texts.isEmpty())
            return std::nullopt;
        return s.texts.dequeue();
    }
    bool ok = false;
    const QString typed = QInputDialog::getText(parent, caption, label, QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return typed;
}

QString Prompt::openFileName(QWidget* parent, const QString& title, const QString& proposedName,
                             const QString& filter, const QString& directory, QString* selectedFilter)
{
    State& s = state();
    if (s.testMode) {
        s.fileRequests.append({title, proposedName, filter});
        if (s.fileNames.isEmpty())
            return QString();
        const State::FileAnswer answer = s.fileNames.dequeue();
        if (selectedFilter)
            *selectedFilter = answer.filter.isEmpty() ? filter.section(QStringLiteral(";;"), 0, 0) : answer.filter;
        return answer.path;
    }
    QFileDialog dialog(parent, title, directory, filter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!proposedName.isEmpty())
        dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    if (selectedFilter)
        *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

bool Prompt::choosePrinter(QWidget* parent, QPrinter& printer, const QString& title)
{
    State& s = state();
    if (s.testMode) {
        s.fileRequests.append({title, QString(), QString()});
        if (s.fileNames.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(s.fileNames.dequeue().path);
        return true;
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

bool Prompt::openDocument(const QString& pathOrUrl)
{
    State& s = state();
    if (s.testMode) {
        s.opened << pathOrUrl;
        return true;
    }
    const QUrl url = pathOrUrl.contains(QStringLiteral("://")) ? QUrl(pathOrUrl)
                                                               : QUrl::fromLocalFile(pathOrUrl);
    return QDesktopServices::openUrl(url);
}

void Prompt::setTestMode(bool on) { state().testMode = on; }
bool Prompt::testMode() { return state().testMode; }
void Prompt::queueAnswer(QMessageBox::StandardButton answer) { state().answers.enqueue(answer); }
void Prompt::queueChoice(int index) { state().choices.enqueue(index); }
void Prompt::queueText(const QString& text) { state().texts.enqueue(text); }
void Prompt::queueFileName(const QString& path, const QString& filter) { state().fileNames.enqueue({path, filter}); }
const QList<Prompt::Shown>& Prompt::shown() { return state().shown; }
const QList<Prompt::FileRequest>& Prompt::fileRequests() { return state().fileRequests; }
const QStringList& Prompt::openedDocuments() { return state().opened; }

QString Prompt::lastText()
{
    return state().shown.isEmpty() ? QString() : state().shown.constLast().text;
}

void Prompt::clear()
{
    State& s = state();
    s.answers.clear();
    s.choices.clear();
    s.texts.clear();
    s.fileNames.clear();
    s.shown.clear();
    s.fileRequests.clear();
    s.opened.clear();
}
