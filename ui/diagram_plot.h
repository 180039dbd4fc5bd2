#pragma once

#include "plots/diagram.h"

#include <qcustomplot.h>

#include <array>

namespace ui {

/// Which of the nine models are drawn, by row.
using ModelMask = std::array<bool, plots::kModelCount>;

/// One diagram on the plotting library: the curves of a plots::Diagram, one colour and marker
/// per model, a legend whose model entries toggle the model, and the usual interaction: wheel
/// zoom, drag to pan, Ctrl+drag for a zoom box, double-click back to the initial view.
class DiagramPlot : public QCustomPlot {
    Q_OBJECT
public:
    explicit DiagramPlot(QWidget* parent = nullptr);

    /// Replaces everything drawn by the diagram, with the models of `visible` shown.
    void setDiagram(const plots::Diagram& diagram, const ModelMask& visible);
    const plots::Diagram& diagram() const { return m_diagram; }
    /// Shows or hides every curve and marker of the model; its legend entry stays, greyed.
    void setModelVisible(state::Row model, bool visible);
    /// The axes as the diagram sets them up.
    void resetView();
    /// The number of curves drawn (hidden models not counted), markers aside.
    int visibleCurveCount() const;
    /// The drawn curves of a model (markers aside), shown or not.
    std::vector<QCPGraph*> modelCurves(state::Row model) const;
    /// The drawn root markers of a model, as (x, y) in the axes' units.
    QVector<QPointF> rootMarkers(state::Row model) const;
    /// "V = 123.4 cm3/mol   P = 5.678 bar   nearest: Peng-Robinson" for a pixel position.
    QString readout(const QPointF& pixel) const;
    /// Writes the diagram as a PNG, SVG or PDF file, chosen by the suffix; false on failure.
    bool saveImage(const QString& path);
    /// The diagram as an image of the widget's size.
    QImage image();

signals:
    /// The legend entry of the model was clicked.
    void modelToggled(int row);
    void readoutChanged(const QString& text);

private:
    void addCurve(const plots::Curve& curve);
    void addMarkers(const plots::Marker& first, const std::vector<plots::Marker>& all);
    void onLegendClick(QCPLegend* legend, QCPAbstractLegendItem* item, QMouseEvent* event);

    plots::Diagram m_diagram;
    // Each model's curves, markers and legend-only entry.
    std::array<std::vector<QCPGraph*>, plots::kModelCount> m_modelGraphs{};
    std::array<QCPGraph*, plots::kModelCount> m_legendEntry{};
    std::array<QCPGraph*, plots::kModelCount> m_rootMarkers{};
    QCPGraph* m_referenceEntry = nullptr; // the legend-only entry of the reference's curves
    std::vector<std::pair<QCPGraph*, QString>> m_curves; // every curve, for the read-out
};

} // namespace ui
