#include "ui/reference_view.h"

#include "plots/reference_diagrams.h"
#include "reference/reference_eos.h"
#include "ui/message_box.h"
#include "ui/scorecard_window.h"
#include "ui/table_export.h"
#include "ui/window_style.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace ui {
namespace {

const QString kTitle = "Import Data";
// The data file a user imports is a table of points, not a database: a cap against opening
// the wrong file by mistake.
constexpr qint64 kMaxDataBytes = 16 * 1024 * 1024;
// Rejected rows listed by line in the message; the rest counted.
constexpr std::size_t kListedRejects = 15;

QString citationTip(const std::string& citation)
{
    return fromStd(citation) + "\n\n" + fromStd(std::string(reference::Library::notice()));
}

} // namespace

ReferenceBar::ReferenceBar(std::optional<store::Settings> settings, QWidget* parent)
    : QWidget(parent), m_settings(std::move(settings))
{
    setObjectName("ReferenceBar");
    lblReference = new QLabel(this);
    lblReference->setObjectName("lblReference");
    lblReference->setTextFormat(Qt::PlainText);
    cmdImport = new QPushButton("Import Data...", this);
    cmdImport->setObjectName("cmdImport");
    cmdImport->setToolTip("Measured points from a CSV file with units in its header, such as\n"
                          "T [C], p [bar], rho [kg/m3]   or   T [K], psat [kPa]");
    cmdScorecard = new QPushButton("Scorecard...", this);
    cmdScorecard->setObjectName("cmdScorecard");
    cmdScorecard->setToolTip("Each model's average deviation from the reference equation of "
                             "state, ranked");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblReference, 1);
    layout->addWidget(cmdImport);
    layout->addWidget(cmdScorecard);
    connect(cmdImport, &QPushButton::clicked, this, &ReferenceBar::cmdImport_Click);
    connect(cmdScorecard, &QPushButton::clicked, this, &ReferenceBar::openScorecard);
}

ReferenceBar::~ReferenceBar() = default;

void ReferenceBar::parse()
{
    m_data = core::readMeasured(m_dataText, m_input.state.constants.MolWt);
}

std::string ReferenceBar::dataLabel() const
{
    return "Measured (" + m_dataName.toStdString() + ")";
}

void ReferenceBar::decorate(plots::Diagrams& diagrams, const plots::DiagramInput& input)
{
    const bool sameFluid = input.component == m_input.component &&
                           input.state.constants.MolWt == m_input.state.constants.MolWt;
    m_input = input;
    plots::addReference(diagrams, input);
    if (!m_dataText.empty()) {
        if (!sameFluid) // mass densities convert with the molar mass
            parse();
        plots::addMeasured(diagrams, m_data, dataLabel());
    }
    const reference::Fluid* f = core::referenceFor(input.component);
    QString text = f ? "Black: " + fromStd(plots::shortCitation(f->citation)) +
                           " (reference equation of state)"
                     : "No reference equation of state for this component";
    if (!m_dataText.empty())
        text += QString("   Data: %1 points from %2").arg(m_data.points.size()).arg(m_dataName);
    lblReference->setText(text);
    lblReference->setToolTip(f ? citationTip(f->citation) : QString());
    cmdScorecard->setEnabled(f != nullptr || !m_data.points.empty());
    if (m_scorecard != nullptr && m_scorecard->isVisible())
        m_scorecard->showComponent(input.component, input.state, &m_data, m_dataName);
}

void ReferenceBar::setUnits(const plots::DiagramUnits& units)
{
    m_units = units;
    if (m_scorecard != nullptr)
        m_scorecard->setUnits(units);
}

QString ReferenceBar::importFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "The file could not be opened:\n" + path;
    if (file.size() > kMaxDataBytes)
        return "The file is larger than a table of measured points (16 MB):\n" + path;
    const QByteArray bytes = file.readAll();
    const core::MeasuredData read =
        core::readMeasured(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                           m_input.state.constants.MolWt);
    if (!read.error.empty())
        return "The file was not read: " + fromStd(read.error) + ".";
    m_dataText.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    m_dataName = QFileInfo(path).fileName();
    m_data = read;
    emit dataChanged();
    if (read.rejected.empty())
        return {};
    QString report = QString("%1 points read from %2; %3 rows left out:\n")
                         .arg(read.points.size())
                         .arg(m_dataName)
                         .arg(read.rejected.size());
    for (std::size_t i = 0; i < read.rejected.size() && i < kListedRejects; ++i)
        report += QString("\nline %1: %2")
                      .arg(read.rejected[i].line)
                      .arg(fromStd(read.rejected[i].reason));
    if (read.rejected.size() > kListedRejects)
        report += QString("\n... and %1 more").arg(read.rejected.size() - kListedRejects);
    return report;
}

void ReferenceBar::cmdImport_Click()
{
    const QString path = QFileDialog::getOpenFileName(this, kTitle, exportFolder(m_settings),
                                                      "CSV file (*.csv *.txt);;All files (*)");
    if (path.isEmpty())
        return;
    if (const QString report = importFile(path); !report.isEmpty())
        showMessageBox(this, report, kTitle);
}

void ReferenceBar::openScorecard()
{
    if (m_scorecard == nullptr) {
        m_scorecard = new ScorecardWindow(m_settings, this);
        m_scorecard->setUnits(m_units);
    }
    m_scorecard->showComponent(m_input.component, m_input.state, &m_data, m_dataName);
    m_scorecard->show();
    m_scorecard->raise();
    m_scorecard->activateWindow();
}

ReferenceTableView::ReferenceTableView(QWidget* parent) : QWidget(parent)
{
    setObjectName("ReferenceTableView");
    lblCaption = new QLabel(this);
    lblCaption->setObjectName("lblReferenceCaption");
    lblCaption->setTextFormat(Qt::PlainText);
    lblCaption->setWordWrap(true);
    grdReference = new QTableWidget(this);
    grdReference->setObjectName("grdReference");
    grdReference->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdReference->verticalHeader()->setVisible(false);
    grdReference->verticalHeader()->setDefaultSectionSize(grdReference->fontMetrics().height() + 6);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addWidget(lblCaption);
    layout->addWidget(grdReference, 1);
}

void ReferenceTableView::show(const std::optional<plots::ReferenceTable>& table,
                              const std::string& component, const plots::DiagramUnits& units)
{
    grdReference->clear();
    grdReference->setVisible(table.has_value());
    if (!table) {
        grdReference->setRowCount(0);
        lblCaption->setText(component.empty() ? QString()
                                              : "No reference equation of state is shipped for " +
                                                    fromStd(component) + ".");
        return;
    }
    lblCaption->setText("Reference equation of state (" +
                        fromStd(plots::shortCitation(table->legend.citation)) +
                        ") at the state; below it each model's deviation, (model - reference) / "
                        "reference in %");
    lblCaption->setToolTip(citationTip(table->legend.citation));
    const plots::TextTable t = plots::referenceTableText(*table, units);
    fillTable(grdReference, t, [](std::size_t c) -> std::optional<Qt::Alignment> {
        if (c >= 2)
            return Qt::AlignVCenter | Qt::AlignRight;
        return std::nullopt;
    });
}

} // namespace ui
