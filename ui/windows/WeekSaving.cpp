// The week window's saving, closing and rereading of the day files.
#include "ui/windows/fTyzden.h"

#include "model/uTyzden.h"
#include "store/uRegi.h"
#include "ui/desktop/Notifier.h"
#include "ui/desktop/WindowAbilities.h"
#include "ui/windows/WeekLook.h"

#include <QListWidget>
#include <QTimer>

#include <exception>

namespace tilava {

void TfrmTyzden::ReloadDays() {
    if (!model_ || closed_)
        return;
    // Not under a running command, the open editor or a message: once they are over.
    if (Zaneprazdneny || reloading_ || model_->Editing()) {
        reloadLater_->start();
        return;
    }
    reloading_ = true;
    for (const int i : model_->ReloadUnchanged()) {
        // The highlighted entry stays highlighted where it still is.
        QListWidget* list = DayList(i);
        const QListWidgetItem* current = list->currentItem();
        const QString highlighted = current && current->isSelected() ? current->text() : QString();
        ZobrazDen(i);
        if (const auto same = list->findItems(highlighted, Qt::MatchExactly);
            !highlighted.isEmpty() && !same.isEmpty())
            list->setCurrentItem(same.first());
    }
    ReportLoadErrors();
    if (const std::string joined = model_->TakeJoinNotice(); !joined.empty())
        notifier_.Message(this, week::Text(joined));
    reloading_ = false;
}

void TfrmTyzden::Close() {
    if (closed_)
        return;
    closed_ = true;
    if (model_) {
        // Closing without saving is only ever the user's own choice.
        while (!model_->Ulozit()) {
            const int answer = notifier_.Ask(
                this,
                QStringLiteral("Zmeny sa nepodarilo uložiť:\n\n%1\n\nAk okno zavriete bez "
                               "uloženia, tieto zmeny sa stratia.")
                    .arg(week::Text(model_->SaveError())),
                {QStringLiteral("Skúsiť znova"), QStringLiteral("Zavrieť bez uloženia")});
            if (answer == 1)
                break;
        }
        ReportMerge();
        try {
            // A window that cannot know its place (Wayland) keeps the one stored before.
            if (WindowAbilities::Current().placesItself) {
                model_->Regi().ZapisHodnotu("frmTyzdenTop", y());
                model_->Regi().ZapisHodnotu("frmTyzdenLeft", x());
            }
        } catch (const std::exception&) {
            // A position that cannot be stored only means the default place next time.
        }
    }
    done(QDialog::Accepted);
}

int TfrmTyzden::MoveTo(int code) {
    const int result = model_->Vykonaj(code);
    if (result == TTyzden::Done) {
        ZobrazTyzden();
    } else {
        // The week stays as it is shown, the date picker too.
        SetPickerDate();
        notifier_.Message(this, QStringLiteral("Zmeny tohto týždňa sa nepodarilo uložiť, preto "
                                               "zostáva zobrazený:\n\n%1")
                                    .arg(week::Text(model_->SaveError())));
    }
    ReportMerge();
    if (result == TTyzden::Done)
        ReportLoadErrors();
    return result;
}

void TfrmTyzden::ReportLoadErrors() {
    if (!model_)
        return;
    const std::string error = model_->TakeLoadError();
    if (!error.empty())
        notifier_.Message(this, week::Text(error) +
                                    QStringLiteral("\n\nZáznamy tohto dňa sa zobrazia tak, "
                                                   "ako sa dali prečítať; deň sa nedá "
                                                   "upravovať a jeho súbor zostane, ako je."));
}

void TfrmTyzden::ReportMerge() {
    if (model_ && !model_->SaveNotice().empty())
        notifier_.Message(this, week::Text(model_->SaveNotice()));
}

} // namespace tilava
