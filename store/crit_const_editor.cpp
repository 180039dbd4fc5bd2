#include "store/crit_const_editor.h"

#include "state/number_format.h"
#include "store/component_database.h"
#include "store/settings.h"
#include "store/store_errors.h"

#include <array>
#include <cmath>

namespace store {

namespace {

constexpr const char* kEditorSql = "SELECT Component, MolWt, CritTemp, CritPress, CritVol, "
                                   "AcentricF, K1, K2, K3 FROM tblComps ORDER BY Component";
constexpr const char* kRecordNumber = "Compound record # ";

struct NumericBox {
    EditorBox box;
    const char* field;
};
constexpr std::array<NumericBox, 8> kNumericBoxes{{
    {EditorBox::txtMW, "MolWt"},
    {EditorBox::txtTcrit, "CritTemp"},
    {EditorBox::txtPcrit, "CritPress"},
    {EditorBox::txtVcrit, "CritVol"},
    {EditorBox::txtAcent, "AcentricF"},
    {EditorBox::txtK1, "K1"},
    {EditorBox::txtK2, "K2"},
    {EditorBox::TxtK3, "K3"},
}};

} // namespace

CritConstEditor::CritConstEditor(CritConstView& view) : m_view(view) {}

CritConstEditor::~CritConstEditor() { Form_Unload(); }

template <class Body> void CritConstEditor::guarded(Body&& body, bool numberFirst)
{
    try {
        body();
    } catch (const StoreException& e) {
        if (numberFirst)
            m_view.showMessage(std::to_string(e.number()), std::string(kAppTitle));
        m_view.showMessage(e.description(), std::string(kAppTitle));
    } catch (const std::exception& e) {
        m_view.showMessage(e.what(), std::string(kAppTitle));
    }
}

void CritConstEditor::Form_Load(Settings& settings, const std::string& defaultPath,
                                OpenOptions options)
{
    const std::string path = settings.dbPath().value_or(defaultPath);
    try {
        m_db = Database::open(path, options);
        m_rst = m_db->openRecordset(kEditorSql);
    } catch (const StoreException& e) {
        Form_Unload();
        // Nothing to browse or change: only Close stays.
        for (EditorButton b : {EditorButton::cmdAdd, EditorButton::cmdEdit, EditorButton::cmdDelete,
                               EditorButton::cmdUpdate, EditorButton::cmdCancel})
            m_view.setButtonVisible(b, false);
        for (EditorButton b : {EditorButton::cmdFirst, EditorButton::cmdPrevious,
                               EditorButton::cmdNext, EditorButton::cmdLast})
            m_view.setButtonEnabled(b, false);
        m_view.setStatus("Component Database not open");
        m_view.showMessage("The Component Database could not be opened:\n" + path + "\n\nError " +
                               std::to_string(e.number()) + ": " + e.description(),
                           std::string(kAppTitle));
        return;
    }
    SetBrowseMode(true);
    if (m_rst->recordCount() == 0) {
        showNoRecords();
        return;
    }
    guarded([&] {
        m_rst->moveFirst();
        showFields();
    });
}

void CritConstEditor::Form_Unload() noexcept
{
    if (m_rst)
        m_rst->close();
    if (m_db)
        m_db->close();
    m_rst.reset();
    m_db.reset();
    m_adding = false;
    m_editing = false;
}

void CritConstEditor::SetBrowseMode(bool browse)
{
    for (EditorButton b : {EditorButton::cmdAdd, EditorButton::cmdEdit, EditorButton::cmdDelete,
                           EditorButton::cmdClose})
        m_view.setButtonVisible(b, browse);
    m_view.setButtonVisible(EditorButton::cmdUpdate, !browse);
    m_view.setButtonVisible(EditorButton::cmdCancel, !browse);
    for (EditorButton b : {EditorButton::cmdFirst, EditorButton::cmdPrevious, EditorButton::cmdNext,
                           EditorButton::cmdLast})
        m_view.setButtonEnabled(b, browse);
}

void CritConstEditor::showFields()
{
    m_view.setBoxText(EditorBox::txtCompound, m_rst->text("Component").value_or(""));
    for (const NumericBox& nb : kNumericBoxes) {
        const std::optional<double> value = m_rst->number(nb.field);
        m_view.setBoxText(nb.box, value ? state::formatShortest(*value) : "");
    }
}

void CritConstEditor::ShowCurrentRecord()
{
    showFields();
    m_view.setStatus(kRecordNumber + std::to_string(m_rst->absolutePosition() + 1));
}

void CritConstEditor::showNoRecords()
{
    m_view.setBoxText(EditorBox::txtCompound, "");
    for (const NumericBox& nb : kNumericBoxes)
        m_view.setBoxText(nb.box, "");
    m_view.setStatus("No compound records: press Add");
}

void CritConstEditor::Form_KeyDown(EditorKey key, KeyModifiers modifiers)
{
    if (m_adding || m_editing)
        return;
    const bool exactlyCtrl = modifiers.ctrl && !modifiers.shift && !modifiers.alt;
    switch (key) {
    case EditorKey::Escape:
        cmdClose_Click();
        break;
    case EditorKey::End:
        cmdLast_Click();
        break;
    case EditorKey::Home:
        cmdFirst_Click();
        break;
    case EditorKey::Up:
    case EditorKey::PageUp:
        exactlyCtrl ? cmdFirst_Click() : cmdPrevious_Click();
        break;
    case EditorKey::Down:
    case EditorKey::PageDown:
        exactlyCtrl ? cmdLast_Click() : cmdNext_Click();
        break;
    case EditorKey::Other:
        break;
    }
}

void CritConstEditor::cmdAdd_Click()
{
    if (!m_rst)
        return;
    guarded([&] {
        m_savedBookmark.reset();
        if (m_rst->absolutePosition() >= 0)
            m_savedBookmark = m_rst->bookmark();
        m_rst->addNew();
        m_view.setBoxText(EditorBox::txtCompound, "");
        for (const NumericBox& nb : kNumericBoxes)
            m_view.setBoxText(nb.box, "");
        m_view.setStatus("Add record");
        m_view.focusCompound();
        m_adding = true;
        SetBrowseMode(false);
    });
}

void CritConstEditor::cmdEdit_Click()
{
    if (!m_rst)
        return;
    guarded([&] {
        m_rst->edit();
        m_view.setStatus("Edit record");
        m_editing = true;
        SetBrowseMode(false);
    });
}

void CritConstEditor::cmdUpdate_Click()
{
    if (!m_rst || (!m_adding && !m_editing))
        return;
    guarded([&] {
        // The pending record starts afresh from the boxes on every attempt, so after a refused
        // Update a box the user has since cleared leaves its field as stored (or null), not
        // as the failed attempt set it.
        m_rst->cancelUpdate();
        m_adding ? m_rst->addNew() : m_rst->edit();
        m_rst->setField("Component", m_view.boxText(EditorBox::txtCompound));
        for (const NumericBox& nb : kNumericBoxes)
            if (const std::optional<double> value = state::toDouble(m_view.boxText(nb.box)))
                m_rst->setField(nb.field, *value);
        m_rst->update();
        if (m_adding)
            m_rst->moveLast();
        m_view.setStatus(kRecordNumber + std::to_string(m_rst->absolutePosition() + 1));
        m_editing = false;
        m_adding = false;
        SetBrowseMode(true);
    });
}

void CritConstEditor::cmdCancel_Click()
{
    if (!m_rst)
        return;
    const bool wasAdding = m_adding;
    SetBrowseMode(true);
    m_editing = false;
    m_adding = false;
    auto ignoreFailure = [](auto&& step) {
        try {
            step();
        } catch (const std::exception&) {
        }
    };
    ignoreFailure([&] { m_rst->cancelUpdate(); });
    if (wasAdding && m_savedBookmark)
        ignoreFailure([&] { m_rst->setBookmark(*m_savedBookmark); });
    else
        ignoreFailure([&] { m_rst->moveFirst(); });
    if (m_rst->recordCount() == 0)
        showNoRecords();
    else
        ignoreFailure([&] { ShowCurrentRecord(); });
}

void CritConstEditor::cmdDelete_Click()
{
    if (!m_rst)
        return;
    guarded([&] {
        m_rst->deleteRecord();
        m_rst->moveNext();
        if (m_rst->eof())
            m_rst->moveLast();
        ShowCurrentRecord();
    });
}

void CritConstEditor::cmdClose_Click() { m_view.closeWindow(); }

void CritConstEditor::cmdFirst_Click()
{
    if (!m_rst)
        return;
    guarded([&] {
        m_rst->moveFirst();
        ShowCurrentRecord();
    });
}

void CritConstEditor::cmdLast_Click()
{
    if (!m_rst)
        return;
    guarded([&] {
        m_rst->moveLast();
        ShowCurrentRecord();
    });
}

void CritConstEditor::cmdPrevious_Click()
{
    if (!m_rst)
        return;
    guarded([&] {
        if (!m_rst->bof())
            m_rst->movePrevious();
        if (m_rst->bof() && m_rst->recordCount() > 0) {
            m_view.beep();
            m_rst->moveFirst();
        }
        ShowCurrentRecord();
    });
}

void CritConstEditor::cmdNext_Click()
{
    if (!m_rst)
        return;
    guarded(
        [&] {
            if (!m_rst->eof())
                m_rst->moveNext();
            if (m_rst->eof() && m_rst->recordCount() > 0) {
                m_view.beep();
                m_rst->moveLast();
            }
            ShowCurrentRecord();
        },
        true);
}

} // namespace store
