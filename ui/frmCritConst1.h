#pragma once

#include "store/component_schema.h"
#include "ui/crit_const_editor.h"

#include <QWidget>

#include <array>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace store {
class Settings;
}

namespace ui {

/// The component constants editor: a thin binding of CritConstEditor. It opens its own
/// connection to the database when built and closes it when closed; the window sees key presses
/// before its controls.
class frmCritConst1 : public QWidget, private CritConstView {
    Q_OBJECT
public:
    /// Builds the controls and opens the database the settings name (defaultPath when they
    /// name none), as the main window found it.
    frmCritConst1(const store::Settings& settings, const std::string& defaultPath,
                  QWidget* parent = nullptr);
    ~frmCritConst1() override;

    CritConstEditor& editor() { return m_editor; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createButtonStrips();
    void connectButtons();
    QLineEdit* box(EditorBox b) const { return m_boxes[static_cast<std::size_t>(b)]; }
    QPushButton* button(EditorButton b) const { return m_buttons[static_cast<std::size_t>(b)]; }

    // CritConstView
    std::string boxText(EditorBox b) const override;
    void setBoxText(EditorBox b, const std::string& text) override;
    void setBoxReadOnly(EditorBox b, bool readOnly) override;
    void updateSourceTip();
    void setStatus(const std::string& text) override;
    void setButtonVisible(EditorButton b, bool visible) override;
    void setButtonEnabled(EditorButton b, bool enabled) override;
    void focusCompound() override;
    void beep() override;
    void showMessage(const std::string& prompt, const std::string& title) override;
    void closeWindow() override;

    std::array<QLineEdit*, store::schema::kConstantFields.size() + 2> m_boxes{}; // name, source
    std::array<QPushButton*, 10> m_buttons{};
    QLabel* lblStatus = nullptr;
    CritConstEditor m_editor;
};

} // namespace ui
