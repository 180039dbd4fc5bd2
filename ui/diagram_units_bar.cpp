#include "ui/diagram_units_bar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

namespace ui {
namespace {

QString fromStd(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The diagrams' own unit of each quantity: T axes in K, pressures in bar, volumes in cm3/mol.
constexpr std::array<std::string_view, 3> kOwnSymbols = {"K", "bar", "cm3/mol"};
constexpr std::array<const char*, 3> kNames = {"cboTempUnit", "cboPressUnit", "cboVolumeUnit"};
constexpr std::array<const char*, 3> kCaptions = {"T", "P", "V"};

} // namespace

DiagramUnitsBar::DiagramUnitsBar(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel("Units:", this));
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        const state::Quantity q = plots::kDiagramQuantities[i];
        auto* box = new QComboBox(this);
        box->setObjectName(kNames[i]);
        box->setToolTip(QString("Unit of %1 in the diagrams, the table and the exports")
                            .arg(fromStd(state::quantityName(q))));
        // The own unit first, stored as no choice; then the others of the quantity.
        const state::Unit& own = state::unitBySymbol(kOwnSymbols[i]);
        box->addItem(fromStd(own.label), QString());
        for (const state::Unit& u : state::allUnits())
            if (u.quantity == q && &u != &own)
                box->addItem(fromStd(u.label), fromStd(u.symbol));
        auto* caption = new QLabel(kCaptions[i], this);
        caption->setBuddy(box);
        layout->addWidget(caption);
        layout->addWidget(box);
        connect(box, &QComboBox::currentIndexChanged, this, &DiagramUnitsBar::unitsChanged);
        m_boxes[i] = box;
    }
}

plots::DiagramUnits DiagramUnitsBar::units() const
{
    std::array<std::string, 3> symbols;
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        symbols[i] = m_boxes[i]->currentData().toString().toStdString();
    return plots::unitsFromSymbols(symbols);
}

void DiagramUnitsBar::setUnits(const plots::DiagramUnits& units)
{
    const std::array<std::string, 3> symbols = plots::symbolsOf(units);
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        const QSignalBlocker quiet(m_boxes[i]);
        const int at = m_boxes[i]->findData(QString::fromStdString(symbols[i]));
        m_boxes[i]->setCurrentIndex(std::max(at, 0));
    }
}

QComboBox* DiagramUnitsBar::box(state::Quantity q) const
{
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        if (plots::kDiagramQuantities[i] == q)
            return m_boxes[i];
    return nullptr;
}

} // namespace ui
