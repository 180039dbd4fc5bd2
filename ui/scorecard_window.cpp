#include "ui/scorecard_window.h"

#include "analysis/phase_analysis.h"
#include "plots/scorecard_text.h"
#include "state/csv.h"
#include "ui/save_file.h"
#include "ui/table_export.h"
#include "ui/window_style.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace ui {
namespace {

constexpr int kInitialWidth = 900;
const QString kTitle = "Scorecard";

/// Every row in view: the grid as tall and wide as its cells, so that no model is scrolled away.
/// Measured again once shown, when the style has set the header's height.
void fitToRows(QTableWidget* grid)
{
    grid->resizeColumnsToContents();
    int height = grid->horizontalHeader()->sizeHint().height() + 2 * grid->frameWidth();
    for (int r = 0; r < grid->rowCount(); ++r)
        height += grid->rowHeight(r);
    if (grid->horizontalScrollBar()->isVisible())
        height += grid->horizontalScrollBar()->height();
    grid->setMinimumHeight(height);
    int width = 2 * grid->frameWidth();
    for (int c = 0; c < grid->columnCount(); ++c)
        width += grid->columnWidth(c);
    grid->setMinimumWidth(width);
}

void fillGrid(QTableWidget* grid, const plots::TextTable& table)
{
    grid->clear();
    fillTable(grid, table, [&table](std::size_t c) -> std::optional<Qt::Alignment> {
        // Numbers right-aligned, names and states left.
        const bool text = c == 1 || table.columns[c].rfind("Worst state", 0) == 0;
        return Qt::AlignVCenter | (text ? Qt::AlignLeft : Qt::AlignRight);
    });
    fitToRows(grid);
}

QTableWidget* makeGrid(const char* name, QWidget* parent)
{
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(name);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setVisible(false);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    return grid;
}

} // namespace

ScorecardWindow::ScorecardWindow(std::optional<store::Settings> settings, QWidget* parent)
    : QWidget(parent), m_settings(std::move(settings))
{
    setObjectName("ScorecardWindow");
    setWindowTitle(kTitle);
    setWindowFlags(Qt::Window);
    lblTitle = new QLabel(this);
    lblTitle->setObjectName("lblTitle");
    lblTitle->setTextFormat(Qt::PlainText);
    QFont bold = lblTitle->font();
    bold.setBold(true);
    lblTitle->setFont(bold);
    lblCitation = new QLabel(this);
    lblCitation->setObjectName("lblCitation");
    lblCitation->setTextFormat(Qt::PlainText);
    lblCitation->setWordWrap(true);
    lblRange = new QLabel(this);
    lblRange->setObjectName("lblRange");
    lblRange->setTextFormat(Qt::PlainText);
    lblRange->setWordWrap(true);
    grdScores = makeGrid("grdScores", this);
    lblData = new QLabel(this);
    lblData->setObjectName("lblData");
    lblData->setTextFormat(Qt::PlainText);
    grdData = makeGrid("grdData", this);
    cmdCopy = new QPushButton("Copy", this);
    cmdCopy->setObjectName("cmdCopy");
    cmdSave = new QPushButton("Save as CSV...", this);
    cmdSave->setObjectName("cmdSave");
    cmdClose = new QPushButton("Close", this);
    cmdClose->setObjectName("cmdClose");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdCopy);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle);
    layout->addWidget(lblCitation);
    layout->addWidget(lblRange);
    layout->addWidget(grdScores);
    layout->addWidget(lblData);
    layout->addWidget(grdData);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(cmdCopy, &QPushButton::clicked, this, &ScorecardWindow::cmdCopy_Click);
    connect(cmdSave, &QPushButton::clicked, this, &ScorecardWindow::cmdSave_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    resize(kInitialWidth, minimumSizeHint().height());
}

ScorecardWindow::~ScorecardWindow() = default;

void ScorecardWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    fitToRows(grdScores);
    fitToRows(grdData);
    // The wrapped citation is taller than the layout's minimum counts: as tall as its width
    // needs.
    layout()->activate();
    if (const int h = layout()->totalHeightForWidth(width()); h > height())
        resize(width(), h);
}

void ScorecardWindow::showComponent(const std::string& component, const state::CalcState& s,
                                    const core::MeasuredData* measured, const QString& dataName)
{
    m_component = component;
    m_card.reset();
    m_dataScores.clear();
    m_dataName = dataName;
    std::string reason;
    const reference::Fluid* f = core::referenceFor(component, &reason);
    const analysis::Fluid models = analysis::fluidOf(s.constants, s.chkSphMol);
    // About 10 to 50 ms for one fluid: computed here, under a wait cursor.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (f != nullptr)
        m_card = core::scorecard(*f, models);
    if (measured != nullptr && !measured->points.empty())
        m_dataScores = core::scoreMeasured(*measured, models, f);
    QApplication::restoreOverrideCursor();
    setWindowTitle(kTitle + " - " + fromStd(component));
    lblTitle->setText(fromStd(component) + ": average absolute deviation of each model from " +
                      (f ? "the reference equation of state" : "the measured points"));
    lblCitation->setText(f ? "Reference: " + fromStd(f->citation)
                           : "No scorecard: " + fromStd(reason) + ".");
    fill();
    layout()->activate();
    resize(std::max(width(), minimumSizeHint().width()), minimumSizeHint().height());
}

void ScorecardWindow::setUnits(const plots::DiagramUnits& units)
{
    m_units = units;
    fill();
}

void ScorecardWindow::fill()
{
    lblRange->setText(m_card ? fromStd(plots::scorecardRange(*m_card, m_units)) : QString());
    fillGrid(grdScores, m_card ? plots::scorecardTable(*m_card, m_units) : plots::TextTable{});
    const bool scored = !m_dataScores.empty();
    lblData->setVisible(scored);
    grdData->setVisible(scored);
    if (scored) {
        lblData->setText("Your data, " + m_dataName + ": average absolute deviation from the " +
                         "measured points");
        fillGrid(grdData, plots::dataScoreTable(m_dataScores));
    }
}

std::string ScorecardWindow::text(char separator) const
{
    std::string out;
    if (m_card)
        out += plots::tableText(plots::scorecardTable(*m_card, m_units), separator);
    if (!m_dataScores.empty()) {
        if (!out.empty())
            out += separator == ',' ? state::kCsvLineEnd : "\n";
        out += plots::tableText(plots::dataScoreTable(m_dataScores), separator);
    }
    return out;
}

bool ScorecardWindow::exportCsv(const QString& path) const { return !saveFile(path, text(',')); }

void ScorecardWindow::cmdCopy_Click() { QApplication::clipboard()->setText(fromStd(text('\t'))); }

void ScorecardWindow::cmdSave_Click()
{
    saveCsvAs(
        this, "Save Scorecard", m_settings, [this](const QString& path) { return exportCsv(path); },
        "The scorecard could not be written to", kTitle);
}

} // namespace ui
