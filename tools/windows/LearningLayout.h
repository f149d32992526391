// Small makers of the learning window's controls, shared by its layout files.
#pragma once

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSlider;
class QTextEdit;
class QWidget;
class TMURL;

namespace LearningLayout {

QPushButton* Button(QWidget* parent, const char* name, int x, int y, int w, int h);
// A label in white on the window's dark background.
QLabel* Label(QWidget* parent, const char* name, int x, int y, int w, int h);
// A link label that fires clicked() (white, yellow under the mouse).
TMURL* Link(QWidget* parent, const char* name, int x, int y, int w, int h, int pointSize);
QLineEdit* Edit(QWidget* parent, const char* name, int x, int y, int w, int h, int pointSize);
// A read-only rich edit.
QTextEdit* RichEdit(QWidget* parent, const char* name, int x, int y, int w, int h);
QProgressBar* Gauge(QWidget* parent, const char* name);
QCheckBox* Check(QWidget* parent, const char* name, int x, int y, int w);
// A vertical speed bar 0 (fast, at the top) .. 10 (slow), position 5, with its two labels.
QSlider* Speed(QWidget* parent, const char* name, const char* fast, const char* slow, QLabel*& lFast, QLabel*& lSlow);
// A picture stretched to the label.
QLabel* Picture(QWidget* parent, const char* name, int x, int y, int w, int h);

}  // namespace LearningLayout
