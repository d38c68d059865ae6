#include "ui/windows/DatabaseWindow.h"

#include "data/Dbconnection.h"
#include "ui/widgets/DataWork.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/Say.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

DatabaseWindow::DatabaseWindow(const WindowContext& context, QWidget* parent) : QWidget(parent), context_(context)
{
    setObjectName(QStringLiteral("frmShujuku"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("数据库连接"));

    auto* where = new QGroupBox(tr("数据保存在"), this);
    where->setObjectName(QStringLiteral("fraDriver"));
    optDriver_[0] = new QRadioButton(tr("本机文件"), where);
    optDriver_[0]->setToolTip(tr("程序文件夹中的 coal.dat，只有这台电脑使用"));
    optDriver_[1] = new QRadioButton(tr("服务器"), where);
    optDriver_[1]->setToolTip(tr("煤场的 PostgreSQL 数据库服务器，几台电脑同时使用"));
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        optDriver_[i]->setObjectName(QStringLiteral("optDriver_%1").arg(i));
        group->addButton(optDriver_[i], i);
    }
    auto* whereLayout = new QHBoxLayout(where);
    whereLayout->addWidget(optDriver_[0]);
    whereLayout->addWidget(optDriver_[1]);
    whereLayout->addStretch();

    auto* server = new QGroupBox(tr("服务器"), this);
    server->setObjectName(QStringLiteral("fraServer"));
    const auto field = [server](const char* name) {
        auto* edit = new QLineEdit(server);
        edit->setObjectName(QLatin1String(name));
        edit->setMinimumWidth(260);
        return edit;
    };
    txtHost_ = field("txtHost");
    txtHost_->setToolTip(tr("服务器的名称或 IP 地址；也可以是本机 Unix 套接字所在的文件夹"));
    txtPort_ = field("txtPort");
    txtPort_->setValidator(new QIntValidator(1, 65535, txtPort_));
    txtPort_->setMaximumWidth(100);
    txtPort_->setMinimumWidth(80);
    txtDbname_ = field("txtDbname");
    txtUser_ = field("txtUser");
    txtUser_->setPlaceholderText(tr("空着则用本机的登录名"));
    txtPassword_ = field("txtPassword");
    txtPassword_->setEchoMode(QLineEdit::Password);
    chkRemember_ = new QCheckBox(tr("记住密码"), server);
    chkRemember_->setObjectName(QStringLiteral("chkRemember"));
    chkRemember_->setToolTip(tr("把密码存入本机用户的 PostgreSQL 密码文件 %1，不写入 config.ini")
                                 .arg(QDir::toNativeSeparators(PasswordFilePath())));
    auto* form = new QFormLayout(server);
    form->addRow(tr("主机："), txtHost_);
    form->addRow(tr("端口："), txtPort_);
    form->addRow(tr("数据库："), txtDbname_);
    form->addRow(tr("用户："), txtUser_);
    form->addRow(tr("密码："), txtPassword_);
    form->addRow(QString(), chkRemember_);

    lblJieguo_ = new QLabel(this);
    lblJieguo_->setObjectName(QStringLiteral("lblJieguo"));
    lblJieguo_->setWordWrap(true);
    lblJieguo_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    btnTest_ = new QPushButton(tr("测试连接"), this);
    btnTest_->setObjectName(QStringLiteral("btnTest"));
    btnCopy_ = new QPushButton(tr("把本机数据复制到服务器"), this);
    btnCopy_->setObjectName(QStringLiteral("btnCopy"));
    btnOk_ = new QPushButton(tr("确定"), this);
    btnOk_->setObjectName(QStringLiteral("btnOk"));
    btnOk_->setDefault(true);
    btnCancel_ = new QPushButton(tr("取消"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));

    auto* serverButtons = new QHBoxLayout;
    serverButtons->addWidget(btnTest_);
    serverButtons->addWidget(btnCopy_);
    serverButtons->addStretch();
    auto* closing = new QHBoxLayout;
    closing->addStretch();
    closing->addWidget(btnOk_);
    closing->addWidget(btnCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(where);
    layout->addWidget(server);
    layout->addLayout(serverButtons);
    layout->addWidget(lblJieguo_, 1);
    layout->addLayout(closing);

    connect(group, &QButtonGroup::idToggled, this, [this] { updateEnabled(); });
    connect(btnTest_, &QPushButton::clicked, this, &DatabaseWindow::btnTest_Click);
    connect(btnCopy_, &QPushButton::clicked, this, &DatabaseWindow::btnCopy_Click);
    connect(btnOk_, &QPushButton::clicked, this, &DatabaseWindow::btnOk_Click);
    connect(btnCancel_, &QPushButton::clicked, this, &QWidget::close);

    showSettings(DatabaseOf(context_.folder));
    resize(520, sizeHint().height());
}

DbSettings DatabaseWindow::fieldSettings() const
{
    DbSettings settings;
    settings.driver = optDriver_[1]->isChecked() ? DbDriver::Postgresql : DbDriver::Sqlite;
    settings.host = txtHost_->text().trimmed();
    bool ok = false;
    const int port = txtPort_->text().trimmed().toInt(&ok);
    settings.port = ok ? port : DbSettings::kDefaultPort;
    settings.dbname = txtDbname_->text().trimmed();
    settings.user = txtUser_->text().trimmed();
    settings.password = txtPassword_->text();
    return settings;
}

void DatabaseWindow::showSettings(const DbSettings& settings)
{
    optDriver_[settings.onServer() ? 1 : 0]->setChecked(true);
    txtHost_->setText(settings.host);
    txtPort_->setText(QString::number(settings.port));
    txtDbname_->setText(settings.dbname);
    txtUser_->setText(settings.user);
    txtPassword_->setText(settings.password);
    updateEnabled();
}

void DatabaseWindow::updateEnabled()
{
    const bool server = optDriver_[1]->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{txtHost_, txtPort_, txtDbname_, txtUser_, txtPassword_,
                                                      chkRemember_, btnTest_, btnCopy_})
        w->setEnabled(server);
}

QString DatabaseWindow::checkServerFields() const
{
    QStringList wrong;
    bool ok = false;
    const int port = txtPort_->text().trimmed().toInt(&ok);
    if (!ok || port < 1 || port > 65535)
        wrong << tr("端口必须是 1 到 65535 之间的整数");
    if (txtDbname_->text().trimmed().isEmpty())
        wrong << tr("请填写数据库的名称");
    return wrong.join(QLatin1Char('\n'));
}

void DatabaseWindow::showResult(const QString& text, bool good)
{
    lblJieguo_->setStyleSheet(good ? QStringLiteral("color: #106010;") : QStringLiteral("color: #b00000;"));
    lblJieguo_->setText(text);
}

std::optional<ServerCheck> DatabaseWindow::tryServer(DbSettings& settings)
{
    for (;;) {
        ServerCheck check;
        const DbSettings tried = settings;
        const Status ran = RunDataWork(this, tr("正在连接数据库服务器"), [&check, tried](const DataProgressFn&) {
            check = TestConnection(tried);
            return Status();
        });
        if (!ran)
            return std::nullopt;
        if (check.problem != ServerProblem::Password)
            return check;
        const QString user = settings.user.isEmpty() ? tr("（本机登录名）") : settings.user;
        const QString label = settings.password.isEmpty()
                                  ? tr("数据库服务器 %1 需要用户 %2 的密码：").arg(settings.serverName(), user)
                                  : tr("密码不对。请重新输入数据库服务器 %1 上用户 %2 的密码：").arg(settings.serverName(), user);
        const std::optional<QString> typed = Prompt::password(this, tr("数据库连接"), label);
        if (!typed)
            return check;
        settings.password = *typed;
        txtPassword_->setText(*typed);
    }
}

void DatabaseWindow::rememberIfAsked(const DbSettings& settings)
{
    if (!chkRemember_->isChecked() || settings.password.isEmpty())
        return;
    if (Status stored = RememberPassword(settings); !stored)
        Prompt::show(this, tr("无法把密码存入密码文件：%1").arg(Say(stored)), QString(), Prompt::Icon::Warning);
}

std::optional<ServerCheck> DatabaseWindow::connectWithFields(DbSettings& settings)
{
    if (const QString wrong = checkServerFields(); !wrong.isEmpty()) {
        Prompt::message(this, wrong);
        return std::nullopt;
    }
    settings = fieldSettings();
    std::optional<ServerCheck> check = tryServer(settings);
    if (check && !check->connected()) {
        showResult(Say(check->said), false);
        Prompt::show(this, Say(check->said), QString(), Prompt::Icon::Warning);
        return std::nullopt;
    }
    return check;
}

void DatabaseWindow::btnTest_Click()
{
    DbSettings settings;
    const std::optional<ServerCheck> check = connectWithFields(settings);
    if (!check)
        return;
    rememberIfAsked(settings);
    QString text = tr("连接成功：%1").arg(check->serverVersion.section(QLatin1Char(' '), 0, 1));
    if (check->newer)
        text += QLatin1Char('\n') + tr("这个数据库由更新版本的程序建立或升级，本程序不能使用它。");
    else if (!check->hasTables)
        text += QLatin1Char('\n') + tr("数据库里还没有本软件的数据表；按“确定”改用它时将建立，也可以先把本机数据复制过去。");
    else
        text += QLatin1Char('\n') + tr("数据库里有煤种 %1 个，配煤方案 %2 个。").arg(check->coals).arg(check->plans);
    showResult(text, !check->newer);
    Prompt::show(this, text, tr("测试连接"), check->newer ? Prompt::Icon::Warning : Prompt::Icon::Information);
}

void DatabaseWindow::btnCopy_Click()
{
    DbSettings settings;
    if (!connectWithFields(settings))
        return;
    // The copy reads coal.dat on a connection of its own: the shared one
    // must not hold it meanwhile.
    if (!OnServer())
        CloseConnection();
    const QString local = context_.folder.DbPath();
    CopyCounts counts;
    const Status copied = RunDataWork(this, tr("把本机数据复制到服务器"), [&](const DataProgressFn& progress) -> Status {
        Result<CopyCounts> done = CopyLocalToServer(local, settings, progress);
        if (!done)
            return done.failure();
        counts = *done;
        return {};
    });
    if (!copied) {
        const QString text = copied.kind() == FailureKind::Cancelled ? tr("复制已取消，服务器上的数据没有改动。")
                                                                     : tr("没有复制：%1").arg(Say(copied));
        showResult(text, false);
        Prompt::show(this, text, QString(),
                     copied.kind() == FailureKind::Cancelled ? Prompt::Icon::Information : Prompt::Icon::Warning);
        return;
    }
    rememberIfAsked(settings);
    const QString text = tr("复制完成：煤种 %1 个，配煤方案 %2 个，共 %3 条记录，复制后已逐表核对记录数。\n"
                            "按“确定”即改用服务器上的这个数据库。")
                             .arg(counts.rowsOf(QStringLiteral("meitan")))
                             .arg(counts.rowsOf(QStringLiteral("Lishi_fangan")))
                             .arg(counts.total());
    showResult(text, true);
    Prompt::show(this, text, tr("复制到服务器"), Prompt::Icon::Information);
}

void DatabaseWindow::btnOk_Click()
{
    DbSettings settings = fieldSettings();
    const DbSettings before = DatabaseOf(context_.folder);
    if (settings.onServer()) {
        if (const QString wrong = checkServerFields(); !wrong.isEmpty()) {
            Prompt::message(this, wrong);
            return;
        }
        const std::optional<ServerCheck> check = tryServer(settings);
        if (!check)
            return;
        if (!check->connected()) {
            // The fields keep what the user typed, to be mended.
            showResult(Say(check->said), false);
            Prompt::show(this, Say(check->said), QString(), Prompt::Icon::Warning);
            return;
        }
    } else {
        settings = DbSettings{};
    }
    const bool same = settings.driver == before.driver && (!settings.onServer() || settings.sameDatabase(before));
    const Result<DatabaseState> changed = ChangeDatabase(context_.folder, settings);
    if (!changed) {
        showResult(Say(changed), false);
        Prompt::show(this, Say(changed), QString(), Prompt::Icon::Warning);
        return;
    }
    if (settings.onServer())
        rememberIfAsked(settings);
    if (!same)
        Q_EMIT databaseChanged(settings);
    close();
}
