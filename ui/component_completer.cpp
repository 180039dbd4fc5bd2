#include "ui/component_completer.h"

#include "ui/guarded.h"
#include "ui/window_style.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QFontMetrics>
#include <QLineEdit>
#include <QScrollBar>
#include <QStringListModel>

namespace ui {
namespace {

// The popups list their entries in full: room for the widest name, the item's own padding and
// a vertical scroll bar.
int popupWidthFor(const QAbstractItemView* view, const std::vector<std::string>& names)
{
    const QFontMetrics fm(view->font());
    int widest = 0;
    for (const std::string& name : names)
        widest = std::max(widest, fm.horizontalAdvance(fromStd(name)));
    constexpr int kItemPadding = 16;
    return widest + kItemPadding + view->verticalScrollBar()->sizeHint().width() +
           2 * view->frameWidth();
}

} // namespace

ComponentCompleter::ComponentCompleter(QComboBox* combo)
    : QObject(combo), m_combo(combo), m_completer(new QCompleter(this)),
      m_offered(new QStringListModel(this))
{
    // The model holds only the entries that match, filtered here. The completer is driven by
    // this class, not by the edit field: its prefix stays empty, so it shows the model as it
    // is, in list order, with no entry highlighted until the user moves to one (the combo
    // box's own inline completion would type the rest of a name for the user).
    m_combo->setCompleter(nullptr);
    m_completer->setModel(m_offered);
    m_completer->setCompletionMode(QCompleter::PopupCompletion);
    m_completer->setMaxVisibleItems(m_combo->maxVisibleItems());
    m_completer->setWidget(m_combo);
    m_completer->popup()->setTextElideMode(Qt::ElideRight);
    m_combo->view()->setTextElideMode(Qt::ElideRight);

    // Each signal is a handler of the window's: nothing it throws may reach the event loop.
    connect(m_combo->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { guarded(m_combo, [&] { textEdited(text); }); });
    connect(m_completer, qOverload<const QString&>(&QCompleter::activated), this,
            [this](const QString& name) {
                guarded(m_combo, [&] { select(m_combo->findText(name, Qt::MatchExactly)); });
            });
    connect(m_combo->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { guarded(m_combo, [&] { settleTypedText(); }); });
    connect(m_combo, &QComboBox::currentIndexChanged, this,
            [this] { guarded(m_combo, [&] { showSelected(); }); });
}

void ComponentCompleter::entriesChanged()
{
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(m_combo->count()));
    for (int i = 0; i < m_combo->count(); ++i)
        names.push_back(toStd(m_combo->itemText(i)));
    if (names == m_finder.names())
        return;
    const int width = popupWidthFor(m_combo->view(), names);
    m_combo->view()->setMinimumWidth(width);
    m_completer->popup()->setMinimumWidth(popupWidthFor(m_completer->popup(), names));
    m_finder.setNames(std::move(names));
}

void ComponentCompleter::textEdited(const QString& text)
{
    QStringList offered;
    for (int i : m_finder.matches(toStd(text)))
        offered << m_combo->itemText(i);
    m_offered->setStringList(offered);
    if (offered.isEmpty())
        m_completer->popup()->hide();
    else
        m_completer->complete();
}

void ComponentCompleter::settleTypedText()
{
    const QString typed = m_combo->lineEdit()->text();
    const int current = m_combo->currentIndex();
    if (current < 0 || typed != m_combo->itemText(current))
        if (const std::optional<int> chosen = m_finder.chosen(toStd(typed)))
            select(*chosen);
    m_completer->popup()->hide();
    showSelected();
}

void ComponentCompleter::select(int index)
{
    if (index >= 0 && index != m_combo->currentIndex())
        m_combo->setCurrentIndex(index);
    showSelected();
}

void ComponentCompleter::showSelected()
{
    const int current = m_combo->currentIndex();
    const QString name = current < 0 ? QString() : m_combo->itemText(current);
    QLineEdit* field = m_combo->lineEdit();
    if (field->text() != name)
        field->setText(name);
    field->setCursorPosition(0);
    m_combo->setToolTip(plainToolTip(name));
}

} // namespace ui
