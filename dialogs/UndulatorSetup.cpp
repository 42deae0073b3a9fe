// SPDX-License-Identifier: GPL-3.0-or-later
// The undulator parameter dialog: its window, the live linked edits of its boxes, and OK.
#include "dialogs/UndulatorSetup.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStringList>
#include <QStyle>
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <string>

#include "app/GuardedCall.h"
#include "dialogs/ModalResult.h"
#include "dialogs/NumberText.h"
#include "dialogs/Pictures.h"
#include "dialogs/ScreenFit.h"

namespace {

// Significant digits the boxes and the γ label are rounded to before they are written.
constexpr int ShownDigits = 8;

// A box's value with up to decimals decimals and no trailing zeros: the path that runs opens as
// "0.95" and "20", as the user would type it, while a worked-out partner keeps its digits.
QString BoxText(double value, int decimals) {
  QString text = FormatFixed(value, ShownDigits, decimals);
  const QString separator = QLocale().decimalPoint();
  if (!text.contains(separator) || text.contains(QLatin1Char('E'))) return text;
  while (text.endsWith(QLatin1Char('0'))) text.chop(1);
  if (text.endsWith(separator)) text.chop(separator.size());
  return text;
}

// A text beyond the range of a double is refused as the relations refuse a result they cannot
// hold.
double ReadFloat(const QComboBox* box) {
  return ParseFloat(box->currentText());
}

// The built-in texts are written with a point; shown with the locale's separator, so that a user
// whose locale writes a comma can confirm them as they stand.
QString Localized(const char* text) {
  return LocalizedNumber(QString::fromLatin1(text));
}

// Window geometry, laid out for 96 pixels per inch.
constexpr int ClientWidth = 529;
constexpr int ClientHeight = 535;
constexpr int Margin = 8;
constexpr int OrbitWidth = 513;
constexpr int OrbitHeight = 177;
constexpr int BlockGap = 6;
constexpr int GroupPadding = 7;
constexpr int GroupSidePadding = 10;
constexpr int RowHeight = 24;
constexpr int RowPitch = 27;
// The rows of a linked pair stand a little further apart, so that the 60-pixel bracket beside
// them reaches from the first row to the second.
constexpr int LinkedPitch = 30;
constexpr int SymbolWidth = 96;
constexpr int SymbolHeight = 24;
constexpr int BracketWidth = 24;
constexpr int BracketHeight = 60;
constexpr int BoxWidth = 110;
constexpr int BoxHeight = 22;
constexpr int ColumnGap = 6;
constexpr int BracketGap = 4;
constexpr int ValueIndent = 4;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;

// Places the rows of one framed group: caption, symbol picture, value, bracket.
class TRowLayout {
 public:
  TRowLayout(QWidget* group, double scale, QStringList& missingPictures)
      : Group(group), Scale(scale), MissingPictures(missingPictures) {}

  int Px(int logical) const { return qRound(logical * Scale); }

  // Caption right-aligned up to the symbol column, or up to the value column in a row without a
  // symbol, so that every caption reads straight into what it names.
  void AddRow(int top, const QString& caption, const char* symbolPicture, QWidget* value,
              int valueHeight) {
    const int groupWidth = Group->width();
    const int bracketX = groupWidth - Px(GroupSidePadding + BracketWidth);
    const int valueX = bracketX - Px(BracketGap + BoxWidth);
    const int symbolX = valueX - Px(ColumnGap + SymbolWidth);
    const int captionRight = (symbolPicture ? symbolX : valueX) - Px(ColumnGap);

    auto* label = new QLabel(caption, Group);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(Px(GroupSidePadding), Px(top), captionRight - Px(GroupSidePadding),
                       Px(RowHeight));
    if (symbolPicture) AddPicture(symbolPicture, symbolX, Px(top), SymbolWidth, SymbolHeight);
    value->setParent(Group);
    value->setGeometry(valueX, Px(top + (RowHeight - valueHeight) / 2), Px(BoxWidth),
                       Px(valueHeight));
  }

  // The link bracket beside the two rows of a pair whose first row starts at firstTop.
  void AddBracket(int firstTop) {
    const int span = LinkedPitch + RowHeight;
    AddPicture("link-bracket.jpg", Group->width() - Px(GroupSidePadding + BracketWidth),
               Px(firstTop + (span - BracketHeight) / 2), BracketWidth, BracketHeight);
  }

  QLabel* AddPicture(const char* name, int x, int y, int width, int height) {
    return PlaceJpeg(Group, name, QRect(x, y, Px(width), Px(height)), MissingPictures);
  }

  // A picture that is missing or does not decode leaves its place empty: the dialog is usable
  // without its artwork.
  static QLabel* PlaceJpeg(QWidget* parent, const char* name, const QRect& place,
                           QStringList& missing) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setGeometry(place);
    // Scaled to the screen's own pixels of its place: sharp at 1.5 and 2 as well.
    const double ratio = parent->devicePixelRatioF();
    const TJpegResult loaded = LoadPicture(QString::fromLatin1(name), ratio);
    if (loaded.Image.isNull()) {
      missing << QStringLiteral("%1 (%2)").arg(QString::fromLatin1(name), loaded.Error);
    } else {
      QImage shown = loaded.Image.scaled(QSizeF(QSizeF(place.size()) * ratio).toSize(),
                                         Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      shown.setDevicePixelRatio(ratio);
      picture->setPixmap(QPixmap::fromImage(shown));
    }
    return picture;
  }

 private:
  QWidget* Group;
  double Scale;
  QStringList& MissingPictures;
};

QComboBox* MakeBox(const char* name, std::initializer_list<const char*> items) {
  auto* box = new QComboBox;
  box->setObjectName(QString::fromLatin1(name));
  box->setEditable(true);
  // The list holds suggestions only: Enter must not add the typed text to it, and the typed text
  // must stand as typed, without completion from the list.
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setCompleter(nullptr);
  // A number needs a few dozen characters at most; the limit keeps a pasted document out of the
  // error message that quotes the box's text.
  box->lineEdit()->setMaxLength(64);
  for (const char* item : items) box->addItem(Localized(item));
  return box;
}

QLabel* MakeValueLabel(const char* name, int indent) {
  auto* label = new QLabel;
  label->setObjectName(QString::fromLatin1(name));
  label->setIndent(indent);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

}  // namespace

TUndulatorSetupDlg::TUndulatorSetupDlg(TSimulationCommands& simulation, QWidget* parent)
    : QDialog(parent), Simulation(simulation) {
  setWindowTitle(tr("Undulator"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  BuildWindow();
}

void TUndulatorSetupDlg::BuildWindow() {
  const double scale = screen() ? screen()->logicalDotsPerInch() / 96.0 : 1.0;
  auto px = [scale](int logical) { return qRound(logical * scale); };
  setFixedSize(px(ClientWidth), px(ClientHeight));

  QStringList missingPictures;

  // The orbit picture on its black panel.
  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("OrbitPanel"));
  panel->setGeometry(px(Margin), px(Margin), px(OrbitWidth), px(OrbitHeight));
  panel->setAutoFillBackground(true);
  QPalette black = panel->palette();
  black.setColor(QPalette::Window, Qt::black);
  panel->setPalette(black);
  TRowLayout::PlaceJpeg(panel, "undulator-orbit.jpg", QRect(0, 0, px(OrbitWidth), px(OrbitHeight)),
                        missingPictures);

  const int valueIndent = px(ValueIndent);
  List_beta = MakeBox("List_beta", {"0.5", "0.7", "0.8", "0.9", "0.95", "0.98", "0.99"});
  List_Energy = MakeBox("List_Energy",
                        {"0.1", "0.2", "0.3", "0.5", "0.8", "1", "1.5", "2", "5", "10"});
  List_Lu = MakeBox("List_Lu", {"0.5", "1", "2", "5", "10", "20", "30"});
  List_Np = MakeBox("List_Np", {"1", "2", "5", "10"});
  List_K = MakeBox("List_K", {"0.1", "0.2", "0.5", "1", "2", "5", "10"});
  List_Bu = MakeBox("List_Bu", {"0.1", "0.2", "0.5", "1", "2", "5", "10"});
  LabelGamma = MakeValueLabel("LabelGamma", valueIndent);
  LabelLrad = MakeValueLabel("LabelLrad", valueIndent);
  LabelMaxAngle = MakeValueLabel("LabelMaxAngle", valueIndent);
  LabelAmplitude = MakeValueLabel("LabelAmplitude", valueIndent);

  // Electron group: β and E linked, γ derived.
  const int electronTop = Margin + OrbitHeight + BlockGap;
  const int betaTop = GroupPadding;
  const int energyTop = betaTop + LinkedPitch;
  const int gammaTop = energyTop + RowPitch;
  const int electronHeight = gammaTop + RowHeight + GroupPadding;
  auto* electron = new QGroupBox(this);
  electron->setObjectName(QStringLiteral("ElectronGroup"));
  electron->setGeometry(px(Margin), px(electronTop), px(OrbitWidth), px(electronHeight));
  TRowLayout electronRows(electron, scale, missingPictures);
  electronRows.AddRow(betaTop, QStringLiteral("Electron Velocity/Light velocity"),
                      "symbol-beta.jpg", List_beta, BoxHeight);
  electronRows.AddRow(energyTop, QStringLiteral("Electron Energy   : E (MeV)"), nullptr,
                      List_Energy, BoxHeight);
  electronRows.AddRow(gammaTop, QStringLiteral("Relativistic Electron Energy"), "symbol-gamma.jpg",
                      LabelGamma, RowHeight);
  electronRows.AddBracket(betaTop);

  // Undulator group: λu, λrad, N, the linked K and Bu, φ and a.
  const int undulatorTop = electronTop + electronHeight + BlockGap;
  const int periodTop = GroupPadding;
  const int wavelengthTop = periodTop + RowPitch;
  const int periodsTop = wavelengthTop + RowPitch;
  const int kTop = periodsTop + RowPitch;
  const int fieldTop = kTop + LinkedPitch;
  const int angleTop = fieldTop + RowPitch;
  const int amplitudeTop = angleTop + RowPitch;
  const int undulatorHeight = amplitudeTop + RowHeight + GroupPadding;
  auto* undulator = new QGroupBox(this);
  undulator->setObjectName(QStringLiteral("UndulatorGroup"));
  undulator->setGeometry(px(Margin), px(undulatorTop), px(OrbitWidth), px(undulatorHeight));
  TRowLayout undulatorRows(undulator, scale, missingPictures);
  undulatorRows.AddRow(periodTop, QStringLiteral("Undulator Wavelength :"), "symbol-lambda-u.jpg",
                       List_Lu, BoxHeight);
  undulatorRows.AddRow(wavelengthTop, QStringLiteral("Radiation Wavelength :"),
                       "symbol-lambda-rad.jpg", LabelLrad, RowHeight);
  undulatorRows.AddRow(periodsTop, QStringLiteral("Number of Periods : N"), nullptr, List_Np,
                       BoxHeight);
  undulatorRows.AddRow(kTop, QStringLiteral("K-Parameter"), nullptr, List_K, BoxHeight);
  undulatorRows.AddRow(fieldTop, QStringLiteral("Peak Magnetic Field Strength : Bu (kG)"), nullptr,
                       List_Bu, BoxHeight);
  // φ = K / γ is shown in radians, the unit its symbol picture names, as λrad, a and λu are
  // shown in the units of theirs; the caption names none.
  undulatorRows.AddRow(angleTop, QStringLiteral("Maximum Orbit Angle :"), "symbol-phi.jpg",
                       LabelMaxAngle, RowHeight);
  undulatorRows.AddRow(amplitudeTop, QStringLiteral("Oscillation Amplitude :"), "symbol-a.jpg",
                       LabelAmplitude, RowHeight);
  undulatorRows.AddBracket(kTop);

  // Buttons along the bottom right.
  const int buttonTop = ClientHeight - Margin - ButtonHeight;
  auto makeButton = [&](const char* name, const QString& caption, int indexFromRight) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    const int right = ClientWidth - Margin - indexFromRight * (ButtonWidth + BlockGap);
    button->setGeometry(px(right - ButtonWidth), px(buttonTop), px(ButtonWidth), px(ButtonHeight));
    return button;
  };
  QPushButton* okBtn = makeButton("OKBtn", QStringLiteral("OK"), 2);
  QPushButton* cancelBtn = makeButton("CancelBtn", QStringLiteral("Cancel"), 1);
  QPushButton* helpBtn = makeButton("HelpBtn", QStringLiteral("&Help"), 0);
  okBtn->setDefault(true);

  // Tab order follows the rows from top to bottom, then the buttons.
  setTabOrder(List_beta, List_Energy);
  setTabOrder(List_Energy, List_Lu);
  setTabOrder(List_Lu, List_Np);
  setTabOrder(List_Np, List_K);
  setTabOrder(List_K, List_Bu);
  setTabOrder(List_Bu, okBtn);
  List_beta->setFocus();

  connect(okBtn, &QPushButton::clicked, this, [this] { Guarded([this] { OKBtnClick(); }); });
  connect(cancelBtn, &QPushButton::clicked, this, [this] { Guarded([this] { reject(); }); });
  connect(helpBtn, &QPushButton::clicked, this, [this] {
    Guarded([this] {
      if (ShowHelp) ShowHelp(*this);
    });
  });
  ConnectUserEdits(List_beta, TUndulatorInput::Beta);
  ConnectUserEdits(List_Energy, TUndulatorInput::Energy);
  ConnectUserEdits(List_Lu, TUndulatorInput::Period);
  ConnectUserEdits(List_Np, TUndulatorInput::Periods);
  ConnectUserEdits(List_K, TUndulatorInput::K);
  ConnectUserEdits(List_Bu, TUndulatorInput::Field);
  Entry = UndulatorEntryOf(Simulation.Trajectory());
  ShowEntry(std::nullopt);

  if (!missingPictures.isEmpty())
    qWarning("Undulator dialog: pictures left out: %s",
             qPrintable(missingPictures.join(QStringLiteral(", "))));

  // The whole content on one page in a scroll area that fills the window: at full size nothing
  // scrolls; on a screen too small for the window, FitInto shrinks it and the page scrolls.
  FullSize = size();
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("Page"));
  page->setFixedSize(FullSize);
  for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
    child->setParent(page);
  Scroll = new QScrollArea(this);
  Scroll->setObjectName(QStringLiteral("Scroll"));
  Scroll->setFrameShape(QFrame::NoFrame);
  Scroll->setWidget(page);
  Scroll->setGeometry(rect());
  SetScrolling(false);
}

// At full size the page fills the window exactly, and a style that draws the least frame
// around the view would otherwise add scroll bars to it.
void TUndulatorSetupDlg::SetScrolling(bool on) {
  const Qt::ScrollBarPolicy policy = on ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  Scroll->setHorizontalScrollBarPolicy(policy);
  Scroll->setVerticalScrollBarPolicy(policy);
}

void TUndulatorSetupDlg::FitInto(const QRect& area) {
  const QSize room = ClientRoomIn(area);
  const int height = std::min(FullSize.height(), room.height());
  // Cut in height, the window is widened by the vertical scroll bar, so that the page's width
  // still shows whole.
  const int bar = height < FullSize.height()
                      ? Scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Scroll)
                      : 0;
  const int width = std::min(FullSize.width() + bar, room.width());
  const QSize fits(std::max(1, width), std::max(1, height));
  setFixedSize(fits);
  Scroll->setGeometry(rect());
  SetScrolling(fits != FullSize);
  CentreInside(*this, area);
}

// Only the user's edits run a handler: typing (textEdited is not emitted for text the code
// writes) and picking an item from the list (activated, also when the item picked is the one
// already showing). A handler that wrote into its partner's box would otherwise run the partner's
// handler and overwrite what the user typed.
//
// While the user types, every key is an edit, and most prefixes of a good value are no value at
// all ("0", "0." on the way to 0.9, "1e" on the way to 1e-3): a refused keystroke is not
// reported, it only leaves the entry, the partner boxes and the derived values as they were. OK
// reads again every box whose text the entry does not stand for, and tells its refusal.
void TUndulatorSetupDlg::ConnectUserEdits(QComboBox* box, TUndulatorInput input) {
  connect(box->lineEdit(), &QLineEdit::textEdited, this, [this, input] { TryEdit(input); });
  connect(box, &QComboBox::activated, this,
          [this, input] { Guarded([this, input] { EditBox(input); }); });
}

void TUndulatorSetupDlg::TryEdit(TUndulatorInput input) noexcept {
  QComboBox* box = BoxOf(input);
  double value = 0.0;
  try {
    value = input == TUndulatorInput::Periods ? ParseInteger(box->currentText()) : ReadFloat(box);
  } catch (const std::exception&) {
    return;  // no number yet
  }
  if (EditUndulator(Entry, input, value)) return;
  Guarded([this, input] { ShowEntry(input); });
}

int TUndulatorSetupDlg::ShowModal() {
  // What runs, not what an earlier opening was left with: a cancelled edit is gone.
  Entry = UndulatorEntryOf(Simulation.Trajectory());
  ShowEntry(std::nullopt);
  if (const QScreen* where = screen()) FitInto(where->availableGeometry());
  return exec() == mrOk ? mrOk : mrCancel;
}

void TUndulatorSetupDlg::reject() {
  Guarded([this] { done(mrCancel); });
}

void TUndulatorSetupDlg::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange)
    Guarded([this] { setWindowTitle(tr("Undulator")); });
  QDialog::changeEvent(event);
}

QComboBox* TUndulatorSetupDlg::BoxOf(TUndulatorInput input) const {
  switch (input) {
    case TUndulatorInput::Beta:
      return List_beta;
    case TUndulatorInput::Energy:
      return List_Energy;
    case TUndulatorInput::Period:
      return List_Lu;
    case TUndulatorInput::Periods:
      return List_Np;
    case TUndulatorInput::K:
      return List_K;
    case TUndulatorInput::Field:
      return List_Bu;
  }
  return List_beta;
}

void TUndulatorSetupDlg::EditBox(TUndulatorInput input) {
  QComboBox* box = BoxOf(input);
  const double value = input == TUndulatorInput::Periods ? ParseInteger(box->currentText())
                                                         : ReadFloat(box);
  if (TRefusal refusal = EditUndulator(Entry, input, value)) throw EError(refusal);
  ShowEntry(input);
}

void TUndulatorSetupDlg::ShowEntry(std::optional<TUndulatorInput> typed) {
  const auto show = [&](TUndulatorInput input, const QString& text) {
    QComboBox* box = BoxOf(input);
    if (typed != input) box->setEditText(text);
    Accepted[static_cast<int>(input)] = box->currentText();
  };
  show(TUndulatorInput::Beta, BoxText(Entry.Beta, 6));
  show(TUndulatorInput::Energy, BoxText(Entry.EnergyMeV, 2));
  show(TUndulatorInput::Period, BoxText(Entry.PeriodCm, 2));
  show(TUndulatorInput::Periods, QString::number(Entry.Periods));
  // K and Bu to two decimals, as the energy and the period: a worked-out partner reads "1.08",
  // not "1.075269". β keeps six, for speeds close to the light's (0.999987).
  show(TUndulatorInput::K, BoxText(Entry.K, 2));
  show(TUndulatorInput::Field, BoxText(Entry.FieldKG, 2));
  const TUndulatorDerived derived = UndulatorDerivedOf(Entry);
  LabelGamma->setText(FormatFixed(derived.Gamma, ShownDigits, 2));
  LabelLrad->setText(FormatScientific(derived.RadWavelengthUm));
  LabelMaxAngle->setText(FormatScientific(derived.MaxAngle));
  LabelAmplitude->setText(FormatScientific(derived.AmplitudeM));
}

// A box whose text the dialog did not take (its edit was refused) is read again, so that OK
// never reports success for values that were not all taken; then the undulator runs with the
// entry, or the command's refusal keeps the dialog open.
void TUndulatorSetupDlg::OKBtnClick() {
  for (const TUndulatorInput input :
       {TUndulatorInput::Beta, TUndulatorInput::Energy, TUndulatorInput::Period,
        TUndulatorInput::Periods, TUndulatorInput::K, TUndulatorInput::Field}) {
    if (BoxOf(input)->currentText() != Accepted[static_cast<int>(input)]) EditBox(input);
  }
  TTrajectoryParameters parameters = Simulation.Trajectory();
  ApplyUndulatorEntry(Entry, parameters);
  if (TRefusal refusal = Simulation.ChooseTrajectory(tmUndulator, parameters)) throw EError(refusal);
  done(mrOk);
}
