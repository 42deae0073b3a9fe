// SPDX-License-Identifier: GPL-3.0-or-later
// The frame shared by the small modal dialogs: a fixed size scaled from the resolution the
// dialog was laid out for, centred on the screen when shown, results mrOk / mrCancel, and the
// close box and Esc giving Cancel.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>

class QEvent;
class QHBoxLayout;
class QPushButton;
class QShowEvent;

// logical dots per inch of the primary screen / layoutDpi: what a length laid out for layoutDpi
// is multiplied by on this screen.
double ScreenScale(int layoutDpi);

// An editable drop-down box whose text is what counts: typed texts are not added to the list
// and no completion replaces what the user types.
QComboBox* MakeValueBox(const char* objectName, const QStringList& items, QWidget* parent);

class TSetupDialog : public QDialog {
  Q_OBJECT

 public:
  // Shows the dialog modally; mrOk when it was accepted, mrCancel otherwise.
  int ShowModal();

  void setVisible(bool visible) override;

 protected:
  // layoutSize is the client size in pixels at layoutDpi.
  TSetupDialog(const QString& caption, QSize layoutSize, int layoutDpi, QWidget* parent);

  // Fixes the client size at the scaled layout size, or larger where this platform's fonts need
  // more room than the layout gave them. Called once the children are in place.
  void FixSize();

  // Makes button the one that Enter presses, at every opening.
  void SetDefaultButton(QPushButton* button);

  // A push button of this dialog whose click runs handler through Guarded.
  QPushButton* MakeButton(const char* objectName, const QString& caption,
                          std::function<void()> handler);

  // The buttons in a row aligned to the right, in the order given.
  static QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);

  // The usual page: body taking all the height the button row leaves, the row below it; then
  // the size is fixed (FixSize), so the children must all be in place.
  void LayOutPage(QWidget* body, std::initializer_list<QPushButton*> buttons);

  // Titles the window with source (English, marked with QT_TR_NOOP), translated in the context
  // of the dialog's own class as tr() there would, and again at every change of language.
  // Called from the constructor of the class that names the dialog.
  void SetTitle(const char* source);

  // Refills the controls from the shared values; runs on every show, before the window appears.
  virtual void FormShow() {}

  // Whether the dialog is centred on the screen at every show (the wave speed window is not).
  bool CentreOnShow = true;

  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  const char* TitleSource = nullptr;
  QSize LayoutSize;
  int LayoutDpi;
  QPushButton* DefaultButton = nullptr;
};
