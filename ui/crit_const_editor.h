#pragma once

#include "store/recordset.h"

#include <memory>
#include <optional>
#include <string>

namespace store {
class Settings;
}

namespace ui {

/// The entry boxes of frmCritConst1: the name and the eight constants in field order, then the
/// source.
enum class EditorBox {
    txtCompound,
    txtMW,
    txtTcrit,
    txtPcrit,
    txtVcrit,
    txtAcent,
    txtK1,
    txtK2,
    TxtK3,
    txtSource
};

enum class EditorButton {
    cmdAdd,
    cmdEdit,
    cmdUpdate,
    cmdDelete,
    cmdCancel,
    cmdClose,
    cmdFirst,
    cmdPrevious,
    cmdNext,
    cmdLast
};

/// The keys the window handles before its controls; everything else is Other.
enum class EditorKey { Escape, End, Home, Up, PageUp, Down, PageDown, Other };

struct KeyModifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

/// What the editor logic needs of its window; the window implements it with widgets, tests
/// with a fake.
struct CritConstView {
    virtual ~CritConstView() = default;
    virtual std::string boxText(EditorBox box) const = 0;
    virtual void setBoxText(EditorBox box, const std::string& text) = 0;
    /// A read-only box shows its text but takes no typing.
    virtual void setBoxReadOnly(EditorBox box, bool readOnly) = 0;
    virtual void setStatus(const std::string& text) = 0;
    virtual void setButtonVisible(EditorButton button, bool visible) = 0;
    virtual void setButtonEnabled(EditorButton button, bool enabled) = 0;
    virtual void focusCompound() = 0;
    virtual void beep() = 0;
    /// A modal message box with one OK button and no icon.
    virtual void showMessage(const std::string& prompt, const std::string& title) = 0;
    /// Closes the window; its close event then calls Form_Unload.
    virtual void closeWindow() = 0;
};

/// The logic of the component constants editor frmCritConst1, over its own connection to the
/// database, open from Form_Load to Form_Unload. Store failures become message boxes (title
/// "Tavrel1"); a failed Update keeps the pending record and the mode.
class CritConstEditor {
public:
    explicit CritConstEditor(CritConstView& view);
    ~CritConstEditor();

    /// Opens the database at the stored path (or defaultPath) and shows the first record. A
    /// store that cannot be opened gives one message and an editor that only closes.
    void Form_Load(const store::Settings& settings, const std::string& defaultPath,
                   store::OpenOptions options = {});
    /// Closes the recordset (dropping a pending addition or edit), then the connection.
    void Form_Unload() noexcept;
    /// Window-level keys; ignored while adding or editing.
    void Form_KeyDown(EditorKey key, KeyModifiers modifiers);

    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdUpdate_Click();
    void cmdCancel_Click();
    void cmdDelete_Click();
    void cmdClose_Click();
    void cmdFirst_Click();
    void cmdPrevious_Click();
    void cmdNext_Click();
    void cmdLast_Click();

    bool AddingRecord() const { return m_adding; }
    bool EditingRecord() const { return m_editing; }
    bool isOpen() const { return m_rst.has_value(); }

private:
    void SetBrowseMode(bool browse);
    void ShowCurrentRecord();
    void showFields();
    void showNoRecords();
    void clearBoxes();
    template <class Body> void guarded(Body&& body, bool numberFirst = false);

    CritConstView& m_view;
    std::optional<store::Database> m_db;
    std::optional<store::Recordset> m_rst;
    bool m_adding = false;
    bool m_editing = false;
    bool m_hasSource = false; // the file has the Source field (files of earlier versions lack it)
    std::optional<store::Bookmark> m_savedBookmark;
};

} // namespace ui
