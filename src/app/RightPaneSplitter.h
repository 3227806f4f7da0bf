// The main window's client area: editor view on the left, property pane on the right. The right
// pane keeps its width when the window is resized and takes the width the user drags it to.
#pragma once

#include <QSplitter>

class CRightPaneSplitter : public QSplitter {
  Q_OBJECT
 public:
  static constexpr int kMinimumLeft = 50;

  explicit CRightPaneSplitter(QWidget* parent = nullptr);
  // Sets both panes; the right pane is laid out at `rightPaneWidth`.
  void SetPanes(QWidget* left, QWidget* right);
  void RecalcLayout();
  // Moves the bar as a drag by the user would (the pane takes the new width).
  void MoveBar(int position) { moveSplitter(position, 1); }

  int rightPaneWidth = 300;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void OnSplitterMoved(int pos, int index);
  bool inLayout_ = false;
};
