#include "store/component_selection.h"
#include "ui/component_choice.h"
#include "ui/component_completer.h"
#include "ui/frmCritConst1.h"
#include "ui/frmEOS1Instruct.h"
#include "ui/frmEOS1Main.h"
#include "ui/frmInfoEOS.h"
#include "ui/guarded.h"
#include "ui/message_box.h"
#include "ui/window_registry.h"
#include "ui/window_style.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

// The main window's focus and rejection flow and its handlers.
namespace ui {
namespace {

/// The component list as the selection logic sees it.
class ComboList final : public store::ComponentList {
public:
    explicit ComboList(QComboBox* combo) : m_combo(combo) {}
    int count() const override { return m_combo->count(); }
    void setItem(int i, const std::string& text) override
    {
        if (i >= m_combo->count())
            m_combo->addItem(fromStd(text));
        else
            m_combo->setItemText(i, fromStd(text));
    }
    // The source shows as the entry's tooltip in the drop-down list.
    void setItemSource(int i, const std::string& source) override
    {
        const QVariant tip = source.empty() ? QVariant() : QVariant(plainToolTip(fromStd(source)));
        if (m_combo->itemData(i, Qt::ToolTipRole) != tip)
            m_combo->setItemData(i, tip, Qt::ToolTipRole);
    }
    void removeFrom(int i) override
    {
        while (m_combo->count() > i)
            m_combo->removeItem(m_combo->count() - 1);
    }
    int currentIndex() const override { return m_combo->currentIndex(); }
    void setCurrentIndex(int i) override
    {
        m_combo->setCurrentIndex(i < m_combo->count() ? i : -1);
    }
    std::string currentText() const override
    {
        const int i = m_combo->currentIndex();
        return i < 0 ? std::string() : toStd(m_combo->itemText(i));
    }

private:
    QComboBox* m_combo;
};

} // namespace

// ---- focus ---------------------------------------------------------------------------------

void frmEOS1Main::onFocusChanged(QWidget* /*old*/, QWidget* now)
{
    guarded(this, [&] { focusMoved(now); });
}

void frmEOS1Main::focusMoved(QWidget* now)
{
    // Only moves between this window's own controls count: activating another window, a
    // message box or the list's popup takes the focus away and gives it back to the same
    // control, which is not a move.
    if (now == nullptr || now->window() != this || now == m_current)
        return;
    QWidget* previous = m_current;
    m_current = now;
    if (rejecting()) {
        if (now == m_restoreTarget) {
            m_restoreTarget = nullptr;
            gotFocus(now);
        }
        return;
    }
    if (previous != nullptr && !lostFocus(previous))
        return;
    gotFocus(now);
}

void frmEOS1Main::gotFocus(QWidget* w)
{
    if (w == cmbComp) {
        cmbComp_GotFocus();
    } else if (w == txtTemp || w == txtPress) {
        auto* box = static_cast<QLineEdit*>(w);
        const core::Selection s = core::MainViewModel::txt_GotFocus(toStd(box->text()));
        // Deferred: a mouse press that gave the focus would otherwise move the cursor after us.
        QMetaObject::invokeMethod(
            box, [box, s] { box->setSelection(s.start, s.length); }, Qt::QueuedConnection);
    }
}

bool frmEOS1Main::lostFocus(QWidget* w)
{
    core::Effects fx;
    if (w == cmbComp) {
        cmbComp_LostFocus();
        return true;
    }
    if (w == txtTemp)
        fx = m_vm.txtTemp_LostFocus();
    else if (w == txtPress)
        fx = m_vm.txtPress_LostFocus();
    else
        return true;
    refresh();
    if (!fx.message)
        return true;
    // The entry was rejected. The message box opens once the focus event is over; until the
    // focus is back in the box no handler of another control acts, so neither the clicked
    // button nor the gaining box's handlers run.
    m_restoreTarget = fx.focus == core::FocusTarget::txtPress ? txtPress : txtTemp;
    QMetaObject::invokeMethod(
        this, [this, fx] { guarded(this, [&] { showRejection(fx); }); }, Qt::QueuedConnection);
    return false;
}

void frmEOS1Main::showRejection(const core::Effects& fx)
{
    for (QAbstractButton* b : findChildren<QAbstractButton*>())
        b->setDown(false);
    showMessageBox(this, fromStd(fx.message->prompt), fromStd(fx.message->title));
    // Back into the erased box. The move is made here rather than left to the focus
    // signal, which does not come while the window waits to be activated again.
    QWidget* target = m_restoreTarget;
    if (target == nullptr)
        return;
    m_current = target;
    activateWindow();
    target->setFocus(Qt::OtherFocusReason);
    m_restoreTarget = nullptr;
    gotFocus(target);
}

void frmEOS1Main::applyEffects(const core::Effects& fx)
{
    if (fx.message)
        showMessageBox(this, fromStd(fx.message->prompt), fromStd(fx.message->title));
    if (fx.focus)
        (*fx.focus == core::FocusTarget::txtTemp ? txtTemp : txtPress)
            ->setFocus(Qt::OtherFocusReason);
}

// ---- handlers ------------------------------------------------------------------------------

void frmEOS1Main::cmdSolve_Click()
{
    guarded(this, [&] {
        if (rejecting())
            return;
        m_vm.cmdSolve_Click();
        refresh();
        updateDiagrams();
    });
}

void frmEOS1Main::optEqState_Click(int index)
{
    guarded(this, [&] {
        if (rejecting()) {
            refresh();
            return;
        }
        const core::Effects fx = m_vm.optEqState_Click(index);
        refresh();
        applyEffects(fx);
    });
}

// While a rejected entry waits for its message box, a click on a check box changes nothing:
// refresh() puts back the state the view model holds.
void frmEOS1Main::chkStCalc_Click(bool ticked)
{
    guarded(this, [&] {
        if (!rejecting())
            m_vm.setChkStCalc(ticked);
        refresh();
    });
}

void frmEOS1Main::chkSphMol_Click(bool ticked)
{
    guarded(this, [&] {
        if (!rejecting())
            m_vm.setChkSphMol(ticked);
        refresh();
    });
}

void frmEOS1Main::cmbComp_GotFocus()
{
    guarded(this, [&] {
        ComboList list(cmbComp);
        showComponentList(m_db, list, m_vm);
        m_finder->entriesChanged();
        refresh();
    });
}

void frmEOS1Main::cmbComp_LostFocus()
{
    guarded(this, [&] {
        m_finder->settleTypedText();
        ComboList list(cmbComp);
        if (takeSelectedComponent(m_db, list, m_vm))
            updateDiagrams();
        refresh();
    });
}

void frmEOS1Main::cmdDataForm_Click()
{
    guarded(this, [&] {
        if (!rejecting())
            showSingle<frmInfoEOS>();
    });
}

void frmEOS1Main::cmdInstruct1_Click()
{
    guarded(this, [&] {
        if (!rejecting())
            showSingle<frmEOS1Instruct>();
    });
}

void frmEOS1Main::cmdCompList_Click()
{
    guarded(this, [&] {
        if (rejecting())
            return;
        if (!m_settings) { // not loaded: the user's own settings, as the program would use
            m_settings = store::Settings::forUser();
            m_defaultDbPath = store::defaultDatabasePath();
        }
        showSingle<frmCritConst1>(*m_settings, m_defaultDbPath);
    });
}

} // namespace ui
