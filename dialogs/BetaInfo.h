// SPDX-License-Identifier: GPL-3.0-or-later
// The version window: the program's greeting at start-up and from the help command, with OK, a
// button that opens the maker's web page and a line that names the program's licence.
#pragma once

#include <QDialog>
#include <QRect>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;

// The maker's web page: the link button's caption and the address it opens.
inline constexpr char HalvoranLabAddress[] = "https://example.org/halvoran/";

class TBetaVersionDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TBetaVersionDlg(QWidget* parent = nullptr);
  // The greeting picture is read from picturePath (a file or a resource); tests give a bad one.
  // Empty: the greeting of the language installed, which follows a change of language.
  TBetaVersionDlg(const QString& picturePath, QWidget* parent);

  // Shows the window modally: mrOk after OK (or Enter), mrCancel after the close box. Esc does
  // nothing: the window has no cancel button, and at start-up a stray Esc must not end the program.
  int ShowModal();
  // The result of the last closing, in the same terms.
  int ModalResult() const;

  void OKBtnClick();
  // Asks the desktop to open the web page; whether it could is not examined, the window stays.
  void BitBtnHalvoranLabClick();

  // Lays the window out at the screen's scale, or smaller where area (a screen's free area) is too
  // small for it, and centres it there with its title bar inside.
  void FitInto(const QRect& area);

  // Centred in the primary screen's free area, fitted into it.
  void setVisible(bool visible) override;

  QFrame* Bevel1 = nullptr;
  QLabel* StaticText1 = nullptr;
  QLabel* Image1 = nullptr;
  // Under the picture: the program is free software under the GPL, in the session's language.
  QLabel* LicenceText = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* BitBtnHalvoranLab = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // The window's size in pixels at 96 dots per inch.
  static constexpr int FullWidth = 625;
  static constexpr int FullHeight = 420;
  // Below this the texts would be too small to read; a screen smaller still cuts the window.
  static constexpr double MinimumScale = 0.5;

  // Sizes, places and sets the fonts of everything at scale times the 96-dpi layout.
  void LayOut(double scale);

  // Reads the greeting picture unless it is the one shown already.
  void LoadGreeting();
  // The texts of the language installed.
  void Retranslate();

  // Why the picture could not be shown; told the user once, at the first show.
  QString PictureError;
  QString PicturePath;  // as given; empty for the language's own
  QString LoadedPath;
};
