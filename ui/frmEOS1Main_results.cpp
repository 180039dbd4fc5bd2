#include "core/sheet_export.h"
#include "ui/frmDiagrams.h"
#include "ui/frmEOS1Main.h"
#include "ui/guarded.h"
#include "ui/message_box.h"
#include "ui/save_file.h"
#include "ui/twips.h"
#include "ui/window_registry.h"
#include "ui/window_style.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

// The main window's results out: copy, save, the context menu and the diagrams.
namespace ui {

// ---- results out ---------------------------------------------------------------------------

namespace {

// The result area: from the row captions to the right edge, from the column headings down to
// the bottom edge, so the empty space below the last row belongs to it too (twips).
constexpr int kResultLeft = 3240;
constexpr int kResultTop = 2160;
const QRect kResultArea =
    twipsRect(kResultLeft, kResultTop, frmEOS1Main::kClientWidth - kResultLeft,
              frmEOS1Main::kClientHeight - kResultTop);

/// The entry box whose selected text Ctrl+C copies, if the key goes to one that has some.
const QLineEdit* selectingEdit(QObject* watched)
{
    const auto* edit = qobject_cast<const QLineEdit*>(watched);
    if (const auto* combo = qobject_cast<const QComboBox*>(watched))
        edit = combo->lineEdit();
    return edit != nullptr && edit->hasSelectedText() ? edit : nullptr;
}

} // namespace

void frmEOS1Main::copyResults()
{
    const core::TextTable table = core::exportSheet(m_vm.resultsView());
    auto* mime = new QMimeData;
    mime->setText(fromStd(core::toTsv(table)));
    mime->setHtml(fromStd(core::toHtml(table)));
    QApplication::clipboard()->setMimeData(mime);
}

bool frmEOS1Main::saveResultsAsCsv(const QString& path)
{
    const std::optional<QString> failed =
        saveFile(path, core::toCsv(core::exportSheet(m_vm.resultsView())));
    if (!failed)
        return true;
    showMessageBox(this, "Results not saved to " + path + ":\n" + *failed, "Save results");
    return false;
}

void frmEOS1Main::cmdSaveResults_Click()
{
    const QString path = QFileDialog::getSaveFileName(this, "Save results as CSV", QString(),
                                                      "CSV files (*.csv);;All files (*)");
    if (!path.isEmpty())
        saveResultsAsCsv(path);
}

QMenu* frmEOS1Main::resultsMenu(QMenu* standard)
{
    QMenu* menu = standard != nullptr ? standard : new QMenu(this);
    if (standard != nullptr)
        menu->addSeparator();
    menu->addAction("Copy results", this, &frmEOS1Main::copyResults);
    menu->addAction("Save results as CSV\u2026", this, &frmEOS1Main::cmdSaveResults_Click);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    return menu;
}

void frmEOS1Main::contextMenuEvent(QContextMenuEvent* event)
{
    if (!kResultArea.contains(event->pos()) || rejecting())
        return;
    resultsMenu()->popup(event->globalPos());
}

bool frmEOS1Main::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy) &&
        selectingEdit(watched) == nullptr) {
        if (!rejecting())
            copyResults();
        return true;
    }
    if (event->type() == QEvent::ContextMenu && !rejecting()) {
        auto* cell = qobject_cast<QLineEdit*>(watched);
        if (cell != nullptr && m_cellOf.contains(cell)) {
            resultsMenu(cell->createStandardContextMenu())
                ->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmEOS1Main::cmdDiagrams_Click()
{
    guarded(this, [&] {
        if (rejecting())
            return;
        const bool wasOpen = openSingle<frmDiagrams>() != nullptr;
        showSingle<frmDiagrams>(m_settings);
        if (!wasOpen)
            updateDiagrams();
    });
}

void frmEOS1Main::updateDiagrams()
{
    frmDiagrams* diagrams = openSingle<frmDiagrams>();
    if (diagrams == nullptr)
        return;
    // The diagrams draw the state the view model holds, so they are titled with the name of
    // the component it was loaded from (the list may show a name whose load failed).
    diagrams->showState(m_vm, m_db, m_vm.component(), m_vm.sheetCurrent(),
                        m_vm.solvedFrom().has_value());
}

} // namespace ui
