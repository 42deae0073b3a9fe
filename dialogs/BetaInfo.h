// The version window: the program's greeting at start-up and from the help command, with OK and
// a button that opens the maker's web page.
#pragma once

#include <QDialog>
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
  TBetaVersionDlg(const QString& picturePath, QWidget* parent);

  // Shows the window modally: mrOk after OK (or Enter), mrCancel after the close box. Esc does
  // nothing: the window has no cancel button, and at start-up a stray Esc must not end the program.
  int ShowModal();
  // The result of the last closing, in the same terms.
  int ModalResult() const;

  void OKBtnClick();
  // Asks the desktop to open the web page; whether it could is not examined, the window stays.
  void BitBtnHalvoranLabClick();

  void setVisible(bool visible) override;

  QFrame* Bevel1 = nullptr;
  QLabel* StaticText1 = nullptr;
  QLabel* Image1 = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* BitBtnHalvoranLab = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Why the picture could not be shown; told the user once, at the first show.
  QString PictureError;
};
