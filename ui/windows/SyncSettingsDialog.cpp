#include "ui/windows/SyncSettingsDialog.h"

#include "platform/HiveError.h"
#include "platform/SecretMemory.h"
#include "store/uRegi.h"
#include "ui/desktop/Notifier.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <QThread>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <memory>
#include <stdexcept>
#include <utility>

namespace tilava {

namespace {

// The longest password the field takes; the secret stores keep far longer ones.
constexpr int kLongestPassword = 1024;
// The calendar list's item that stands for a calendar still to be made.
const QString kNewCalendar = QStringLiteral("\x01new");

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

const QString kUnchanged = QStringLiteral("\n\nNastavenia synchronizácie zostali, ako boli.");

} // namespace

SyncSettingsDialog::SyncSettingsDialog(TRegi& regi, Notifier& notifier, PasswordKeeper keeper,
                                       QWidget* parent)
    : SyncSettingsDialog(regi, notifier, Services{std::move(keeper)}, parent) {}

SyncSettingsDialog::SyncSettingsDialog(TRegi& regi, Notifier& notifier, Services services,
                                       QWidget* parent)
    : QDialog(parent), regi_(regi), notifier_(notifier), services_(std::move(services)),
      stored_(SyncSettings::Read(regi)) {
    setObjectName(QStringLiteral("SyncSettings"));
    setWindowTitle(QStringLiteral("Synchronizácia"));
    // The tray icon keeps working while it is open. Its size is fixed: nothing to maximise.
    setWindowModality(Qt::WindowModal);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, true);

    address_ = Field(QStringLiteral("Adresa servera alebo kalendára"), SyncSettings::kLongestUrl);
    address_->setObjectName(QStringLiteral("address"));
    address_->setPlaceholderText(QStringLiteral("https://server.sk"));
    address_->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
    user_ = Field(QStringLiteral("Používateľ"), SyncSettings::kLongestUser);
    user_->setObjectName(QStringLiteral("user"));
    password_ = Field(QStringLiteral("Heslo"), kLongestPassword);
    password_->setObjectName(QStringLiteral("password"));
    password_->setEchoMode(QLineEdit::Password);
    forget_ = new QCheckBox(QStringLiteral("&Zabudnúť heslo"));
    forget_->setObjectName(QStringLiteral("forget"));
    forget_->setAccessibleDescription(
        QStringLiteral("Pri uložení sa heslo odstráni z úložiska hesiel systému"));
    connect(forget_, &QCheckBox::toggled, this, [this](bool forget) {
        if (forget)
            password_->clear();
        password_->setEnabled(!forget);
    });
    find_ = new QPushButton(QStringLiteral("&Nájsť kalendáre"));
    find_->setObjectName(QStringLiteral("find"));
    find_->setAutoDefault(false);
    connect(find_, &QPushButton::clicked, this, &SyncSettingsDialog::FindCalendars);
    calendar_ = new QComboBox;
    calendar_->setObjectName(QStringLiteral("calendar"));
    calendar_->setAccessibleName(QStringLiteral("Kalendár"));
    calendar_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    calendar_->setMinimumContentsLength(32);
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("status"));
    status_->setWordWrap(true);
    status_->setTextFormat(Qt::PlainText);
    status_->setMinimumWidth(fontMetrics().averageCharWidth() * 60);
    every_ = new QSpinBox;
    every_->setObjectName(QStringLiteral("every"));
    every_->setRange(0, SyncSettings::kMostMinutes);
    every_->setSpecialValueText(QStringLiteral("vypnuté"));
    every_->setSuffix(QStringLiteral(" min"));
    every_->setAccessibleName(QStringLiteral("Automatická synchronizácia, interval v minútach"));
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
    row(QStringLiteral("Adresa servera alebo &kalendára:"), address_);
    row(QStringLiteral("&Používateľ:"), user_);
    row(QStringLiteral("&Heslo:"), password_);
    form->addRow(QString(), forget_);
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(calendar_, 1);
    findRow->addWidget(find_);
    auto* calendarCaption = new QLabel(QStringLiteral("Ka&lendár:"));
    calendarCaption->setBuddy(calendar_);
    form->addRow(calendarCaption, findRow);
    form->addRow(QString(), status_);
    auto* everyRow = new QHBoxLayout;
    everyRow->addWidget(every_);
    everyRow->addStretch();
    auto* everyCaption = new QLabel(QStringLiteral("&Automatická synchronizácia:"));
    everyCaption->setBuddy(every_);
    form->addRow(everyCaption, everyRow);

    auto* note = new QLabel(
        QStringLiteral("Stačí zadať adresu servera a stlačiť „Nájsť kalendáre“. Heslo si pamätá "
                       "úložisko hesiel systému, nie súbor nastavení. Nešifrovaná adresa http:// "
                       "je dovolená len pre server na tomto počítači."));
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox;
    save_ = buttons->addButton(QStringLiteral("&Uložiť"), QDialogButtonBox::AcceptRole);
    save_->setObjectName(QStringLiteral("save"));
    save_->setDefault(true);
    buttons->addButton(QStringLiteral("Zrušiť"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SyncSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SyncSettingsDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(yearly_);
    layout->addWidget(note);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    address_->setText(Q(stored_.calendarUrl));
    user_->setText(Q(stored_.user));
    every_->setValue(stored_.everyMinutes);
    yearly_->setChecked(stored_.yearlyEventsAsBirthdays);
    // Until the server is asked, the calendar is the address typed.
    calendar_->addItem(QStringLiteral("(adresa vyššie)"), QString());
    calendar_->setEnabled(false);
    connect(address_, &QLineEdit::textEdited, this, [this] {
        calendar_->clear();
        calendar_->addItem(QStringLiteral("(adresa vyššie)"), QString());
        calendar_->setEnabled(false);
        homeUrl_.clear();
    });
    LearnKeptPassword();
}

template <typename Result>
void SyncSettingsDialog::Aside(const QString& waiting, std::function<Result()> work,
                               std::function<void(Result)> done) {
    SetBusy(waiting);
    auto result = std::make_shared<Result>();
    // The worker holds only its own copies: the dialog may be gone when it ends.
    QThread* thread = QThread::create([work = std::move(work), result] {
        try {
            *result = work();
        } catch (...) {
            *result = Result{}; // (no success; the caller's message says what failed)
        }
    });
    const std::weak_ptr<int> generation = generation_;
    const int started = *generation_;
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    connect(thread, &QThread::finished, this, [this, result, done, generation, started] {
        const auto now = generation.lock();
        if (!now || *now != started)
            return; // closed meanwhile: nothing is written or told
        SetBusy({});
        done(std::move(*result));
    });
    thread->start();
}

void SyncSettingsDialog::SetBusy(const QString& waiting) {
    busy_ = !waiting.isEmpty();
    status_->setText(waiting);
    for (QWidget* w : std::initializer_list<QWidget*>{address_, user_, password_, forget_, find_,
                                                      calendar_, save_})
        w->setEnabled(!busy_);
    if (!busy_) {
        password_->setEnabled(!forget_->isChecked());
        calendar_->setEnabled(calendar_->count() > 1 ||
                              !calendar_->itemData(0).toString().isEmpty());
    }
}

void SyncSettingsDialog::LearnKeptPassword() {
    password_->setPlaceholderText(QString());
    if (!stored_.Configured())
        return;
    const SyncSettings stored = stored_;
    const auto keptPassword = services_.keptPassword;
    // (no waiting state: the dialog is usable meanwhile)
    auto result = std::make_shared<bool>(false);
    QThread* thread = QThread::create([stored, keptPassword, result] {
        try {
            bool kept = false;
            if (keptPassword(stored, nullptr, kept).success)
                *result = kept;
        } catch (...) {
        }
    });
    const std::weak_ptr<int> generation = generation_;
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    connect(thread, &QThread::finished, this, [this, result, generation] {
        if (generation.lock() && *result)
            password_->setPlaceholderText(QStringLiteral("ponechá uložené heslo"));
    });
    thread->start();
}

QString SyncSettingsDialog::AddressProblem(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("https") && scheme != QLatin1String("http")))
        return QStringLiteral("Adresa kalendára „%1“ nie je adresa kalendára. Stlačte „Nájsť "
                              "kalendáre“ a vyberte kalendár, alebo zadajte celú adresu kalendára, "
                              "ako ju uvádza server, napríklad "
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
    const QString picked = calendar_->currentData().toString();
    typed.calendarUrl =
        (picked.isEmpty() || picked == kNewCalendar ? address : picked).toStdString();
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
    } else if (!address.isEmpty() && picked != kNewCalendar) {
        problem = AddressProblem(Q(typed.calendarUrl));
        wrongField = address_;
    }
    return typed;
}

void SyncSettingsDialog::FindCalendars() {
    const std::string address = address_->text().trimmed().toStdString();
    const std::string user = user_->text().toStdString();
    if (address.empty() || user.empty()) {
        status_->setText(QStringLiteral("Na hľadanie kalendárov zadajte adresu servera aj "
                                        "používateľa."));
        (address.empty() ? address_ : user_)->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Every copy of the typed password is wiped once the worker is done with it.
    const auto password = std::make_shared<WipedSecret>(password_->text().toStdString());
    const SyncSettings kept = stored_;
    const auto find = services_.find;
    Aside<SyncCalendarsFound>(
        QStringLiteral("Hľadajú sa kalendáre…"),
        [find, address, user, password, kept] {
            return find(address, user, password->Text(), kept);
        },
        [this](SyncCalendarsFound found) { ShowFound(found); });
}

void SyncSettingsDialog::ShowFound(const SyncCalendarsFound& found) {
    if (!found.success) {
        status_->setText(found.message.empty() ? QStringLiteral("Kalendáre sa nepodarilo nájsť.")
                                               : Q(found.message).trimmed());
        return;
    }
    calendar_->clear();
    homeUrl_ = found.homeUrl;
    QString wanted = Q(found.typedUrl.empty() ? stored_.calendarUrl : found.typedUrl);
    QStringList names;
    for (const SyncCalendarChoice& c : found.calendars)
        names << Q(c.name);
    for (const SyncCalendarChoice& c : found.calendars) {
        // Calendars of one name are told apart by the end of their address.
        QString name = Q(c.name);
        if (names.count(name) > 1)
            name += QStringLiteral(" (%1)").arg(Q(c.url).section(QLatin1Char('/'), -2, -2));
        calendar_->addItem(name, Q(c.url));
        calendar_->setItemData(calendar_->count() - 1, Q(c.url), Qt::ToolTipRole);
    }
    if (!homeUrl_.empty())
        calendar_->addItem(QStringLiteral("Nový kalendár „Tilava“"), kNewCalendar);
    const int at = calendar_->findData(wanted);
    calendar_->setCurrentIndex(at >= 0 ? at : 0);
    calendar_->setEnabled(calendar_->count() > 0);
    if (calendar_->count() == 0) {
        calendar_->addItem(QStringLiteral("(adresa vyššie)"), QString());
        status_->setText(QStringLiteral("Server nemá žiadny kalendár pre udalosti a nepovedal, "
                                        "kde sa dá založiť nový."));
    } else if (found.calendars.empty()) {
        status_->setText(QStringLiteral("Na serveri zatiaľ nie je kalendár pre udalosti: pri "
                                        "uložení sa založí nový kalendár „Tilava“."));
    } else {
        status_->setText(QStringLiteral("Nájdené kalendáre: %1. Vyberte, s ktorým sa majú "
                                        "poznámky synchronizovať.")
                             .arg(found.calendars.size()));
    }
    calendar_->setFocus(Qt::OtherFocusReason);
}

void SyncSettingsDialog::Refused(const QString& message, QWidget* field) {
    notifier_.Message(this, message + kUnchanged);
    if (field)
        field->setFocus(Qt::OtherFocusReason);
}

void SyncSettingsDialog::accept() {
    if (busy_)
        return;
    QString problem;
    QWidget* wrongField = nullptr;
    SyncSettings typed = Typed(problem, wrongField);
    if (!problem.isEmpty()) {
        Refused(problem, wrongField);
        return;
    }
    if (calendar_->currentData().toString() == kNewCalendar && typed.Configured())
        MakeThenSave(std::move(typed));
    else
        KeepThenSave(typed);
}

void SyncSettingsDialog::MakeThenSave(SyncSettings typed) {
    const std::string home = homeUrl_;
    const auto password = std::make_shared<WipedSecret>(password_->text().toStdString());
    const SyncSettings kept = stored_;
    const auto make = services_.make;
    Aside<SyncCalendarsFound>(
        QStringLiteral("Zakladá sa kalendár „Tilava“…"),
        [make, home, typed, password, kept] {
            return make(home, typed.user, password->Text(), kept);
        },
        [this, typed](SyncCalendarsFound made) mutable {
            if (!made.success || made.calendars.empty()) {
                Refused(made.message.empty() ? QStringLiteral("Kalendár sa nepodarilo založiť.")
                                             : Q(made.message).trimmed(),
                        calendar_);
                return;
            }
            // The calendar made is picked from now on, whatever happens to the rest.
            const SyncCalendarChoice& c = made.calendars.front();
            const int at = calendar_->findData(kNewCalendar);
            calendar_->insertItem(std::max(at, 0), Q(c.name), Q(c.url));
            calendar_->setCurrentIndex(std::max(at, 0));
            typed.calendarUrl = c.url;
            KeepThenSave(typed);
        });
}

void SyncSettingsDialog::KeepThenSave(const SyncSettings& typed) {
    // A password goes to the secret store first: when the store refuses, nothing is saved and
    // the user can try again with everything still typed.
    const bool forget = forget_->isChecked();
    const auto secret =
        std::make_shared<WipedSecret>(forget ? std::string() : password_->text().toStdString());
    if (typed.Configured() && (forget || !secret->Text().empty())) {
        const auto keep = services_.keep;
        Aside<ExchangeResult>(
            forget ? QStringLiteral("Heslo sa zabúda…") : QStringLiteral("Ukladá sa heslo…"),
            [keep, typed, secret] { return keep(typed, secret->Text()); },
            [this, typed](ExchangeResult kept) {
                if (!kept.success) {
                    Refused(kept.message.empty() ? QStringLiteral("Heslo sa neuložilo.")
                                                 : Q(kept.message).trimmed(),
                            password_);
                    return;
                }
                Write(typed);
            });
        return;
    }
    const bool moved = typed.calendarUrl != stored_.calendarUrl || typed.user != stored_.user;
    if (typed.Configured() && stored_.Configured() && moved) {
        // The password kept for the old address goes along to the new one.
        const auto keptPassword = services_.keptPassword;
        const SyncSettings from = stored_;
        Aside<ExchangeResult>(
            QStringLiteral("Prenáša sa uložené heslo…"),
            [keptPassword, from, typed] {
                bool kept = false;
                return keptPassword(from, &typed, kept);
            },
            [this, typed](ExchangeResult result) {
                if (!result.success) {
                    Refused(Q(result.message).trimmed() +
                                QStringLiteral("\nZadajte heslo pre novú adresu znova."),
                            password_);
                    return;
                }
                Write(typed);
            });
        return;
    }
    Write(typed);
}

void SyncSettingsDialog::Write(const SyncSettings& typed) {
    try {
        typed.Write(regi_);
    } catch (const std::exception& e) {
        notifier_.Message(
            this,
            QStringLiteral("Nastavenia synchronizácie sa nepodarilo uložiť:\n%1").arg(Q(e.what())));
        return;
    }
    password_->clear();
    const bool reread =
        typed.Configured() && typed.yearlyEventsAsBirthdays != stored_.yearlyEventsAsBirthdays;
    stored_ = typed;
    if (!reread) {
        QDialog::accept();
        return;
    }
    // The calendar's events are read anew by the next sync, under the new switch.
    const auto forgetListing = services_.forgetListing;
    Aside<ExchangeResult>(
        QStringLiteral("Pripravuje sa nové čítanie kalendára…"),
        [forgetListing] { return forgetListing(); },
        [this](ExchangeResult forgotten) {
            if (!forgotten.success)
                notifier_.Message(this, Q(forgotten.message).trimmed());
            QDialog::accept();
        });
}

void SyncSettingsDialog::reject() {
    // A worker still running finds its result unwanted.
    ++*generation_;
    SetBusy({});
    QDialog::reject();
}

} // namespace tilava
