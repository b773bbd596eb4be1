#include "ui/windows/SyncSettingsDialog.h"

#include "platform/HiveError.h"
#include "store/uRegi.h"
#include "ui/desktop/Notifier.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <utility>

namespace tilava {

namespace {

// The longest password the field takes; the secret stores keep far longer ones.
constexpr int kLongestPassword = 1024;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// localhost, 127.x.y.z or ::1: a server on this computer, reached without the network.
bool ThisComputer(const QString& host) {
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
        host == QLatin1String("::1"))
        return true;
    const QStringList parts = host.split(QLatin1Char('.'));
    if (parts.size() != 4 || parts.first() != QLatin1String("127"))
        return false;
    for (const QString& part : parts) {
        bool number = false;
        const int value = part.toInt(&number);
        if (!number || value < 0 || value > 255 || part.startsWith(QLatin1Char('+')))
            return false;
    }
    return true;
}

bool HasControl(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

QLineEdit* Field(const QString& name, int longest) {
    auto* field = new QLineEdit;
    field->setAccessibleName(name);
    field->setMaxLength(longest);
    return field;
}

} // namespace

SyncSettingsDialog::SyncSettingsDialog(TRegi& regi, Notifier& notifier, PasswordKeeper keeper,
                                       QWidget* parent)
    : QDialog(parent), regi_(regi), notifier_(notifier), keeper_(std::move(keeper)) {
    setObjectName(QStringLiteral("SyncSettings"));
    setWindowTitle(QStringLiteral("Synchronizácia"));
    // The tray icon keeps working while it is open.
    setWindowModality(Qt::WindowModal);

    address_ = Field(QStringLiteral("Adresa kalendára"), SyncSettings::kLongestUrl);
    address_->setObjectName(QStringLiteral("address"));
    address_->setPlaceholderText(QStringLiteral("https://server/…/kalendar/"));
    address_->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
    user_ = Field(QStringLiteral("Používateľ"), SyncSettings::kLongestUser);
    user_->setObjectName(QStringLiteral("user"));
    password_ = Field(QStringLiteral("Heslo"), kLongestPassword);
    password_->setObjectName(QStringLiteral("password"));
    password_->setEchoMode(QLineEdit::Password);
    password_->setPlaceholderText(QStringLiteral("ponechá uložené heslo"));
    forget_ = new QCheckBox(QStringLiteral("&Zabudnúť heslo"));
    forget_->setObjectName(QStringLiteral("forget"));
    forget_->setAccessibleDescription(
        QStringLiteral("Pri uložení sa heslo odstráni z úložiska hesiel systému"));
    connect(forget_, &QCheckBox::toggled, this, [this](bool forget) {
        if (forget)
            password_->clear();
        password_->setEnabled(!forget);
    });
    every_ = new QSpinBox;
    every_->setObjectName(QStringLiteral("every"));
    every_->setRange(0, SyncSettings::kMostMinutes);
    every_->setSpecialValueText(QStringLiteral("vypnuté"));
    every_->setAccessibleName(QStringLiteral("Synchronizovať automaticky každých N minút"));
    every_->setAccessibleDescription(QStringLiteral("0 vypne automatickú synchronizáciu"));
    yearly_ =
        new QCheckBox(QStringLiteral("&Ročné celodenné udalosti zo servera brať ako narodeniny"));
    yearly_->setObjectName(QStringLiteral("yearly"));

    auto* form = new QFormLayout;
    const auto row = [form](const QString& label, QWidget* field) {
        auto* caption = new QLabel(label);
        caption->setBuddy(field);
        form->addRow(caption, field);
    };
    row(QStringLiteral("Adresa &kalendára:"), address_);
    row(QStringLiteral("&Používateľ:"), user_);
    row(QStringLiteral("&Heslo:"), password_);
    form->addRow(QString(), forget_);

    auto* everyRow = new QHBoxLayout;
    auto* everyCaption = new QLabel(QStringLiteral("Synchronizovať &automaticky každých"));
    everyCaption->setBuddy(every_);
    everyRow->addWidget(everyCaption);
    everyRow->addWidget(every_);
    everyRow->addWidget(new QLabel(QStringLiteral("minút")));
    everyRow->addStretch();

    auto* note = new QLabel(
        QStringLiteral("Heslo si pamätá úložisko hesiel systému, nie súbor nastavení. Nešifrovaná "
                       "adresa http:// je dovolená len pre server na tomto počítači."));
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox;
    QPushButton* save = buttons->addButton(QStringLiteral("&Uložiť"), QDialogButtonBox::AcceptRole);
    save->setObjectName(QStringLiteral("save"));
    save->setDefault(true);
    buttons->addButton(QStringLiteral("Zrušiť"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SyncSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SyncSettingsDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(everyRow);
    layout->addWidget(yearly_);
    layout->addWidget(note);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const SyncSettings stored = SyncSettings::Read(regi_);
    address_->setText(Q(stored.calendarUrl));
    user_->setText(Q(stored.user));
    every_->setValue(stored.everyMinutes);
    yearly_->setChecked(stored.yearlyEventsAsBirthdays);
}

QString SyncSettingsDialog::AddressProblem(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("https") && scheme != QLatin1String("http")))
        return QStringLiteral("Adresa kalendára „%1“ nie je adresa servera. Zadajte celú adresu "
                              "kalendára, ako ju uvádza server, napríklad "
                              "https://server/remote.php/dav/calendars/meno/kalendar/.")
            .arg(address);
    if (!url.userInfo().isEmpty())
        return QStringLiteral("Adresa kalendára nesmie obsahovať meno ani heslo (časť pred "
                              "znakom @): uložila by sa do súboru nastavení. Zadajte ich do polí "
                              "Používateľ a Heslo.");
    if (scheme == QLatin1String("http") && !ThisComputer(url.host()))
        return QStringLiteral("Adresa kalendára začína http://, teda bez šifrovania: heslo by "
                              "išlo sieťou čitateľné pre každého po ceste. Nešifrovaná adresa je "
                              "dovolená len pre server na tomto počítači (localhost, 127.0.0.1); "
                              "pre server %1 zadajte adresu, ktorá začína https://.")
            .arg(url.host());
    return {};
}

SyncSettings SyncSettingsDialog::Typed(QString& problem, QWidget*& wrongField) const {
    SyncSettings typed;
    const QString address = address_->text().trimmed();
    typed.calendarUrl = address.toStdString();
    typed.user = user_->text().toStdString();
    typed.everyMinutes = every_->value();
    typed.yearlyEventsAsBirthdays = yearly_->isChecked();
    if (address.isEmpty() != user_->text().isEmpty()) {
        problem = QStringLiteral("Vyplňte adresu kalendára aj používateľa, alebo nechajte obe "
                                 "prázdne (synchronizácia potom nie je nastavená).");
        wrongField = address.isEmpty() ? address_ : user_;
    } else if (typed.calendarUrl.size() > SyncSettings::kLongestUrl) {
        // (the field counts letters; the limit is in bytes of UTF-8)
        problem = QStringLiteral("Adresa kalendára je príliš dlhá: najviac %1 bajtov.")
                      .arg(SyncSettings::kLongestUrl);
        wrongField = address_;
    } else if (typed.user.size() > SyncSettings::kLongestUser || HasControl(user_->text())) {
        problem = QStringLiteral("Meno používateľa je príliš dlhé (najviac %1 bajtov) alebo "
                                 "obsahuje riadiace znaky.")
                      .arg(SyncSettings::kLongestUser);
        wrongField = user_;
    } else if (!address.isEmpty()) {
        problem = AddressProblem(address);
        wrongField = address_;
    }
    return typed;
}

void SyncSettingsDialog::accept() {
    QString problem;
    QWidget* wrongField = nullptr;
    const SyncSettings typed = Typed(problem, wrongField);
    const QString unchanged = QStringLiteral("\n\nNastavenia synchronizácie zostali, ako boli.");
    if (!problem.isEmpty()) {
        notifier_.Message(this, problem + unchanged);
        wrongField->setFocus(Qt::OtherFocusReason);
        return;
    }
    // A password goes to the secret store first: when the store refuses, nothing is saved and
    // the user can try again with everything still typed.
    const std::string password = password_->text().toStdString();
    if (typed.Configured() && (forget_->isChecked() || !password.empty())) {
        const ExchangeResult stored =
            keeper_(typed, forget_->isChecked() ? std::string() : password);
        if (!stored.success) {
            notifier_.Message(this, Q(stored.message).trimmed() + unchanged);
            password_->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    try {
        typed.Write(regi_);
    } catch (const std::exception& e) {
        notifier_.Message(
            this,
            QStringLiteral("Nastavenia synchronizácie sa nepodarilo uložiť:\n%1").arg(Q(e.what())));
        return;
    }
    password_->clear();
    QDialog::accept();
}

} // namespace tilava
