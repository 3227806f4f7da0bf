#include "app/RightPaneSplitter.h"

#include <QResizeEvent>
#include <algorithm>

CRightPaneSplitter::CRightPaneSplitter(QWidget* parent) : QSplitter(Qt::Horizontal, parent) {
  setChildrenCollapsible(false);
  connect(this, &QSplitter::splitterMoved, this, &CRightPaneSplitter::OnSplitterMoved);
}

void CRightPaneSplitter::SetPanes(QWidget* left, QWidget* right) {
  addWidget(left);
  addWidget(right);
  left->setMinimumWidth(10);
  right->setMinimumWidth(0);
  setStretchFactor(0, 1);
  setStretchFactor(1, 0);
  RecalcLayout();
}

void CRightPaneSplitter::RecalcLayout() {
  if (count() != 2) return;
  const int client = width() - handleWidth();
  const int left = std::max(kMinimumLeft, client - rightPaneWidth);
  inLayout_ = true;
  setSizes({left, std::max(0, client - left)});
  inLayout_ = false;
}

void CRightPaneSplitter::resizeEvent(QResizeEvent* event) {
  QSplitter::resizeEvent(event);
  RecalcLayout();
}

void CRightPaneSplitter::OnSplitterMoved(int, int) {
  if (inLayout_ || count() != 2) return;
  const int client = width() - handleWidth();
  rightPaneWidth = std::max(kMinimumLeft, client - sizes().at(0));
}
