#include "ui/crit_const_editor.h"

#include "state/number_format.h"
#include "store/component_database.h"
#include "store/component_finder.h"
#include "store/component_schema.h"
#include "store/settings.h"
#include "store/store_errors.h"

#include <array>
#include <cmath>
#include <string_view>
#include <vector>

namespace ui {

using namespace store;

namespace {

constexpr const char* kRecordNumber = "Compound record # ";

// The boxes after txtCompound hold the eight constants in field order.
struct NumericBox {
    EditorBox box;
    std::string_view field;
};
constexpr auto kNumericBoxes = [] {
    std::array<NumericBox, schema::kConstantFields.size()> boxes{};
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = {static_cast<EditorBox>(i + 1), schema::kConstantFields[i].name};
    return boxes;
}();
static_assert(static_cast<std::size_t>(EditorBox::TxtK3) == schema::kConstantFields.size());

std::string nameTakenMessage(const std::string& name)
{
    return "A compound named \"" + name +
           "\" is already in the database.\nEnter another name and click Update again.";
}

/// The stored name that equals `name` apart from letter case, on a record other than `self`
/// (null while adding); none when the name is free. The table's own uniqueness compares exact
/// bytes, so without this "benzene" would be stored beside "Benzene" and both listed.
std::optional<std::string> storedNameLike(Database& db, std::string_view name, const Bookmark* self)
{
    Recordset names = db.openRecordset("SELECT " + std::string(schema::kKeyField) + ", " +
                                       std::string(schema::kNameField) + " FROM " +
                                       std::string(schema::kCompsTable));
    if (names.recordCount() == 0)
        return std::nullopt;
    for (names.moveFirst(); !names.eof(); names.moveNext()) {
        const std::optional<std::string> stored = names.text(schema::kNameField);
        if (stored && sameNameIgnoringCase(*stored, name) &&
            (self == nullptr || names.bookmark() != *self))
            return stored;
    }
    return std::nullopt;
}

/// The status line after an Update that met constants which are not numbers: what became of
/// them (an added record stores null, an edited one keeps its value).
std::string notNumbersStatus(const std::vector<std::string>& texts, bool added)
{
    std::string status = "'" + texts.front() + "'";
    if (texts.size() == 1) {
        status += " is not a number: ";
    } else {
        status += " and ";
        status += std::to_string(texts.size() - 1);
        status += " more are not numbers: ";
    }
    return status + (added ? "stored empty" : "left as stored");
}

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

void CritConstEditor::Form_Load(const Settings& settings, const std::string& defaultPath,
                                OpenOptions options)
{
    const std::string path = settings.dbPath().value_or(defaultPath);
    try {
        m_db = Database::open(path, options);
        m_hasSource = m_db->hasCompsField(schema::kSourceField);
        m_rst = m_db->openRecordset(schema::editorQuery(m_hasSource));
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
    // A file without the field keeps working as before; its box only shows that there is none.
    m_view.setBoxReadOnly(EditorBox::txtSource, !m_hasSource);
    SetBrowseMode(true);
    if (m_rst->recordCount() == 0) {
        showNoRecords();
        return;
    }
    guarded([&] {
        m_rst->moveFirst();
        ShowCurrentRecord();
    });
}

void CritConstEditor::Form_Unload() noexcept
{
    closeAll(m_rst, m_db);
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
    m_view.setBoxText(EditorBox::txtCompound, m_rst->text(schema::kNameField).value_or(""));
    for (const NumericBox& nb : kNumericBoxes) {
        const std::optional<double> value = m_rst->number(nb.field);
        m_view.setBoxText(nb.box, value ? state::formatShortest(*value) : "");
    }
    m_view.setBoxText(EditorBox::txtSource,
                      m_hasSource ? m_rst->text(schema::kSourceField).value_or("") : "");
}

void CritConstEditor::ShowCurrentRecord()
{
    showFields();
    m_view.setStatus(kRecordNumber + std::to_string(m_rst->absolutePosition() + 1));
}

void CritConstEditor::clearBoxes()
{
    m_view.setBoxText(EditorBox::txtCompound, "");
    for (const NumericBox& nb : kNumericBoxes)
        m_view.setBoxText(nb.box, "");
    m_view.setBoxText(EditorBox::txtSource, "");
}

void CritConstEditor::showNoRecords()
{
    clearBoxes();
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
        clearBoxes();
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
    // Stored without the blanks around it, so "  Benzene " cannot sit beside "Benzene".
    const std::string name(trimmedName(m_view.boxText(EditorBox::txtCompound)));
    // The main list leaves out nameless records, so one stored here could never be chosen.
    if (name.empty()) {
        m_view.showMessage("Enter the name of the compound: a record without a name "
                           "cannot be stored.",
                           std::string(kAppTitle));
        m_view.focusCompound();
        return;
    }
    guarded([&] {
        // A pointer rather than an optional: GCC 12 at -O3 warns falsely that an optional's
        // value may be used uninitialized here.
        const Bookmark edited = m_editing ? m_rst->bookmark() : Bookmark{};
        if (const std::optional<std::string> stored =
                storedNameLike(*m_db, name, m_editing ? &edited : nullptr))
            throw StoreException(kErrRefused, nameTakenMessage(*stored));
        // The pending record starts afresh from the boxes on every attempt, so after a refused
        // Update a box the user has since cleared leaves its field as stored (or null), not
        // as the failed attempt set it.
        m_rst->cancelUpdate();
        m_adding ? m_rst->addNew() : m_rst->edit();
        m_rst->setField(schema::kNameField, name);
        std::vector<std::string> notNumbers;
        for (const NumericBox& nb : kNumericBoxes) {
            const std::string text = m_view.boxText(nb.box);
            if (const std::optional<double> value = state::toDouble(text))
                m_rst->setField(nb.field, *value);
            else if (!trimmedName(text).empty())
                notNumbers.push_back(text);
        }
        if (m_hasSource) {
            // A blank source is no source: stored as null, like an empty cell of the data.
            std::string source = m_view.boxText(EditorBox::txtSource);
            m_rst->setField(schema::kSourceField,
                            source.find_first_not_of(" \t") == std::string::npos
                                ? Value{}
                                : Value{std::move(source)});
        }
        try {
            m_rst->update();
        } catch (const StoreException& e) {
            // The only unique field of tblComps is the name; say so in words, not SQLite's.
            if (e.number() == kErrRefused &&
                e.description().find("tblComps.Component") != std::string::npos)
                throw StoreException(e.number(), nameTakenMessage(name));
            throw;
        }
        const bool added = m_adding;
        if (added)
            m_rst->moveLast();
        m_editing = false;
        m_adding = false;
        SetBrowseMode(true);
        // The boxes show what the record now holds: a text that was not a number was stored
        // as null, and its box must not go on showing a value the database does not have; the
        // status line says so.
        ShowCurrentRecord();
        if (!notNumbers.empty())
            m_view.setStatus(notNumbersStatus(notNumbers, added));
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

} // namespace ui
