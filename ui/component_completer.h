#pragma once

#include "store/component_finder.h"

#include <QObject>

class QComboBox;
class QCompleter;
class QStringListModel;

namespace ui {

/// Finding a component among many in the editable list cmbComp. As the user types, a popup
/// offers every entry containing the typed text (any case, list order); choosing one there
/// selects it. Leaving the field or pressing Enter settles the typed text: a name equal to an
/// entry apart from case, or contained in exactly one entry, selects that entry as picking it
/// does; any other text gives way to the selected entry's name. The popup and the drop-down are
/// as wide as the longest name, and the field shows the start of the selected name with the
/// whole name as its tooltip.
class ComponentCompleter : public QObject {
    Q_OBJECT
public:
    /// Takes over the completion of combo (which must be editable).
    explicit ComponentCompleter(QComboBox* combo);

    /// Takes the list's entries again after it was rebuilt, and sizes the popups to them.
    void entriesChanged();
    /// Settles the typed text: selects the entry it names or shows the selected entry again.
    void settleTypedText();

    QCompleter* completer() const { return m_completer; }

private:
    void textEdited(const QString& text);
    void select(int index);
    /// The edit field shows the selected entry's name from its start.
    void showSelected();

    QComboBox* m_combo;
    QCompleter* m_completer;
    QStringListModel* m_offered;
    store::ComponentFinder m_finder;
};

} // namespace ui
