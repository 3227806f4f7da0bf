// The editor view: exclusive-or drag feedback per mouse move and the full redraw of its picture,
// on a 1920 x 1080 viewport at zoom 2 (the offscreen platform stands in for the screen).
#include <benchmark/benchmark.h>

#include <memory>

#include <QCoreApplication>

#include "BenchLayouts.h"
#include "document/ReportDoc.h"
#include "properties/qt/PropertyView.h"
#include "view/StatusTexts.h"
#include "view/qt/ReportView.h"

namespace {

class NoStatus : public StatusTexts {
 public:
  void SetCoordinateText(std::string_view) override {}
  void SetZoomText(std::string_view) override {}
  void ShowStatusMessage(std::string_view) override {}
};

// A document of `count` elements shown zoomed in a 1920 x 1080 window.
struct Editor {
  explicit Editor(int count) {
    FillBenchPage(doc.elements, count);
    view = std::make_unique<CReportView>(doc, &status);
    view->resize(1920, 1080);
    view->show();
    QCoreApplication::processEvents();
    // The viewport itself 1920 x 1080, whatever the frame takes.
    view->resize(view->size() + QSize(1920, 1080) - view->viewport()->size());
    QCoreApplication::processEvents();
    view->OnInitialUpdate();
    view->ZoomBy(2.0, QPoint(960, 540));
    QCoreApplication::processEvents();
    view->RepaintNow();  // texts measured
  }
  void Report(benchmark::State& state) const {
    state.counters["image_w"] = view->BackingImage().width();
    state.counters["image_h"] = view->BackingImage().height();
    state.counters["zoom"] = view->zoom();
  }
  NoStatus status;
  CReportDoc doc;
  std::unique_ptr<CReportView> view;
};

// One mouse move of a drag of 50 selected elements: the outlines at the old place are drawn away
// and drawn at the new place, through the view's client context.
void BM_DragFeedback(benchmark::State& state) {
  Editor editor(static_cast<int>(state.range(0)));
  std::vector<CFormElement*> all;
  editor.doc.elements.GetAll(all);
  int selected = 0;
  for (CFormElement* e : all)
    if (selected < 50 && e->Is<CFormText>()) {
      e->selected = true;
      ++selected;
    }
  editor.view->RepaintNow();
  const CPageMapper& mapper = editor.view->ScreenMapper();
  CPoint at{200, 300};
  {
    const auto dc = editor.view->ClientDC();
    editor.doc.BeginDrag(*dc, mapper, at);
  }
  int step = 1;
  for (auto _ : state) {
    at.x += step;
    step = -step;
    const auto dc = editor.view->ClientDC();
    editor.doc.elements.TrackAll(*dc, mapper, at);
  }
  {
    const auto dc = editor.view->ClientDC();
    editor.doc.elements.EndTrackAll(*dc, mapper, at);
  }
  editor.Report(state);
  state.counters["selected"] = selected;
}
BENCHMARK(BM_DragFeedback)->Arg(100)->Arg(2000)->Arg(5000)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime()->UseRealTime();

// The whole picture painted again from the document: desk, page, grid, frame and every element.
void BM_FullRedraw(benchmark::State& state) {
  Editor editor(static_cast<int>(state.range(0)));
  for (auto _ : state) editor.view->RepaintNow();
  editor.Report(state);
}
BENCHMARK(BM_FullRedraw)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The property pane filled anew for 500 selected texts (the rows common to all of them, each
// value compared across the selection): what every change of the selection or of a value costs.
void BM_PropertyPaneRebuild(benchmark::State& state) {
  CReportDoc doc;
  for (int i = 0; i < 500; ++i)
    doc.elements.Append(std::make_unique<CFormText>(CPoint{5 + i % 400, 5 + i}, i % 2 ? "[Name]" : "Ergebnis"));
  std::vector<CFormElement*> all;
  doc.elements.GetAll(all);
  for (CFormElement* e : all) e->selected = true;
  doc.elements.current = all.back();
  CPropertyView pane(doc);
  pane.resize(300, 800);
  pane.show();
  QCoreApplication::processEvents();
  pane.RebuildGrid();  // the font list is read once
  for (auto _ : state) pane.RebuildGrid();
  state.counters["rows"] = static_cast<double>(pane.rows().size());
}
BENCHMARK(BM_PropertyPaneRebuild)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
