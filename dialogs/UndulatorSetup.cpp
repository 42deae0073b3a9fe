// The undulator parameter dialog: its window, the live linked edits of its boxes, and OK.
#include "dialogs/UndulatorSetup.h"

#include <QComboBox>
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
#include <numbers>
#include <string>

#include "app/GuardedCall.h"
#include "dialogs/ModalResult.h"
#include "dialogs/NumberText.h"
#include "dialogs/Pictures.h"
#include "dialogs/ScreenFit.h"
#include "engine/ModelLimits.h"

namespace {

constexpr double ElectronRestEnergyEv = 511000.0;
// K = 93 × Bu × λu with Bu in tesla and λu in metres; 93 exactly, as the captions' figures assume.
constexpr double DeflectionFactor = 93.0;
constexpr double MevToEv = 1000000.0;
constexpr double EvToMev = 0.000001;
constexpr double CmToM = 0.01;
constexpr double KgToT = 0.1;
constexpr double TToKg = 10.0;
constexpr double MToUm = 1000000.0;

// Significant digits the boxes and the γ label are rounded to before they are written.
constexpr int ShownDigits = 8;

// C++ arithmetic raises nothing: a fault becomes a NaN or an infinity and would run silently into
// the state and the trajectory. Each step is checked instead and stops the handler with the
// message the user would expect from a floating-point unit that traps.
const char* const DivisionByZero = "Floating point division by zero";
const char* const InvalidOperation = "Invalid floating point operation";
const char* const Overflow = "Floating point overflow";

[[noreturn]] void Raise(const char* text) {
  throw EError(std::string(text));
}

// The inputs of every step are finite (every stored value went through these checks), so a NaN
// result is an invalid operation (inf − inf, 0 × inf) and an infinite one an overflow.
double Checked(double result) {
  if (std::isnan(result)) Raise(InvalidOperation);
  if (std::isinf(result)) Raise(Overflow);
  return result;
}

double Add(double a, double b) {
  return Checked(a + b);
}
double Sub(double a, double b) {
  return Checked(a - b);
}
double Mul(double a, double b) {
  return Checked(a * b);
}

double Div(double a, double b) {
  if (b == 0.0) Raise(a == 0.0 || std::isnan(a) ? InvalidOperation : DivisionByZero);
  return Checked(a / b);
}

double Root(double a) {
  if (std::isnan(a) || a < 0.0) Raise(InvalidOperation);
  return std::sqrt(a);
}

// A text beyond the range of a double is an overflow, not a number to carry on with.
double ReadFloat(const QComboBox* box) {
  const double value = ParseFloat(box->currentText());
  if (!std::isfinite(value)) Raise(Overflow);
  return value;
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

QComboBox* MakeBox(const char* name, std::initializer_list<const char*> items,
                   const char* firstText) {
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
  const QString text = Localized(firstText);
  box->setCurrentIndex(box->findText(text));
  if (box->currentIndex() < 0) box->setEditText(text);
  return box;
}

QLabel* MakeValueLabel(const char* name, const char* firstText, int indent) {
  auto* label = new QLabel(Localized(firstText));
  label->setObjectName(QString::fromLatin1(name));
  label->setIndent(indent);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

}  // namespace

TUndulatorSetupDlg::TUndulatorSetupDlg(TSimulationState& state, QWidget* parent)
    : QDialog(parent), State(state) {
  setWindowTitle(QStringLiteral("Undulator Parameter"));
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
  List_beta = MakeBox("List_beta", {"0.5", "0.7", "0.8", "0.9", "0.95", "0.98", "0.99"}, "0.95");
  List_Energy = MakeBox("List_Energy",
                        {"0.1", "0.2", "0.3", "0.5", "0.8", "1", "1.5", "2", "5", "10"}, "0.66");
  List_Lu = MakeBox("List_Lu", {"0.5", "1", "2", "5", "10", "20", "30"}, "20");
  List_Np = MakeBox("List_Np", {"1", "2", "5", "10"}, "5");
  List_K = MakeBox("List_K", {"0.1", "0.2", "0.5", "1", "2", "5", "10"}, "2");
  List_Bu = MakeBox("List_Bu", {"0.1", "0.2", "0.5", "1", "2", "5", "10"}, "0.54");
  LabelGamma = MakeValueLabel("LabelGamma", "10.0 ", valueIndent);
  LabelLrad = MakeValueLabel("LabelLrad", "1.45E04", valueIndent);
  LabelMaxAngle = MakeValueLabel("LabelMaxAngle", "3.11E-01", valueIndent);
  LabelAmplitude = MakeValueLabel("LabelAmplitude", "9.91E-3", valueIndent);

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
  electronRows.AddRow(betaTop, QStringLiteral("Electron Velocity/Light veolocity"),
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
  undulatorRows.AddRow(periodsTop, QStringLiteral("Number of Period : N"), nullptr, List_Np,
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
  makeButton("HelpBtn", QStringLiteral("&Help"), 0);
  okBtn->setDefault(true);

  // Tab order follows the rows from top to bottom, then the buttons.
  setTabOrder(List_beta, List_Energy);
  setTabOrder(List_Energy, List_Lu);
  setTabOrder(List_Lu, List_Np);
  setTabOrder(List_Np, List_K);
  setTabOrder(List_K, List_Bu);
  setTabOrder(List_Bu, okBtn);
  List_beta->setFocus();

  connect(okBtn, &QPushButton::clicked, this,
          [this] { Guarded([this] { AllOrNothing(&TUndulatorSetupDlg::OKBtnClick); }); });
  connect(cancelBtn, &QPushButton::clicked, this, [this] { Guarded([this] { reject(); }); });
  ConnectUserEdits(List_beta, &TUndulatorSetupDlg::List_betaChange);
  ConnectUserEdits(List_Energy, &TUndulatorSetupDlg::List_EnergyChange);
  ConnectUserEdits(List_Lu, &TUndulatorSetupDlg::List_LuChange);
  ConnectUserEdits(List_K, &TUndulatorSetupDlg::List_KChange);
  ConnectUserEdits(List_Bu, &TUndulatorSetupDlg::List_BuChange);

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
void TUndulatorSetupDlg::ConnectUserEdits(QComboBox* box, void (TUndulatorSetupDlg::*handler)()) {
  auto run = [this, handler] { Guarded([this, handler] { AllOrNothing(handler); }); };
  connect(box->lineEdit(), &QLineEdit::textEdited, this, run);
  connect(box, &QComboBox::activated, this, run);
}

int TUndulatorSetupDlg::ShowModal() {
  if (const QScreen* where = screen()) FitInto(where->availableGeometry());
  return exec() == mrOk ? mrOk : mrCancel;
}

void TUndulatorSetupDlg::reject() {
  Guarded([this] { done(mrCancel); });
}

void TUndulatorSetupDlg::ReadAllParameter() {
  TFieldSimulation& f = State.FieldSimulation;
  f.UndBeta = ReadFloat(List_beta);
  const QString energy = List_Energy->currentText();
  f.UndEnergy = !EnergyWritten.isEmpty() && energy == EnergyWritten
                    ? EnergyWrittenEv
                    : Mul(ReadFloat(List_Energy), MevToEv);
  f.UndPeriod = Mul(ReadFloat(List_Lu), CmToM);
  f.UndK = ReadFloat(List_K);
  f.UndPeriods = ParseInteger(List_Np->currentText());
  f.UndBu = Mul(ReadFloat(List_Bu), KgToT);
}

void TUndulatorSetupDlg::ShowRadWavelength() {
  LabelLrad->setText(FormatScientific(Mul(State.FieldSimulation.UndRadWavelength, MToUm)));
}

void TUndulatorSetupDlg::SetSlaveParameter() {
  const TFieldSimulation& f = State.FieldSimulation;
  LabelGamma->setText(FormatFixed(f.UndGamma, ShownDigits, 2));
  ShowRadWavelength();
  LabelMaxAngle->setText(FormatScientific(f.UndMaxAngle));
  LabelAmplitude->setText(FormatScientific(f.UndAmplitude));
}

// λrad = (λu / 2 / γ²) × (K²/2 + 1) in metres, φ = K / γ in radians, a = λu × (φ/2) / π in metres.
void TUndulatorSetupDlg::UpdateCommonDerived() {
  TFieldSimulation& f = State.FieldSimulation;
  f.UndRadWavelength = Mul(Div(Mul(f.UndPeriod, 0.5), Mul(f.UndGamma, f.UndGamma)),
                           Add(Mul(Mul(f.UndK, f.UndK), 0.5), 1.0));
  f.UndMaxAngle = Div(f.UndK, f.UndGamma);
  f.UndAmplitude = Div(Mul(f.UndPeriod, Mul(f.UndMaxAngle, 0.5)), std::numbers::pi);
}

// β decides γ = 1 / √(1 − β²) and the energy E = (γ − 1) × 511000 eV.
void TUndulatorSetupDlg::List_betaChange() {
  ReadAllParameter();
  TFieldSimulation& f = State.FieldSimulation;
  f.UndGamma = Div(1.0, Root(Sub(1.0, Mul(f.UndBeta, f.UndBeta))));
  f.UndEnergy = Mul(Sub(f.UndGamma, 1.0), ElectronRestEnergyEv);
  UpdateCommonDerived();
  EnergyWritten = FormatFixed(Mul(f.UndEnergy, EvToMev), ShownDigits, 2);
  EnergyWrittenEv = f.UndEnergy;
  List_Energy->setEditText(EnergyWritten);
  ShowRadWavelength();
  SetSlaveParameter();
}

// E decides γ = E / 511000 eV + 1 and β = √(1 − 1/γ²).
void TUndulatorSetupDlg::List_EnergyChange() {
  ReadAllParameter();
  TFieldSimulation& f = State.FieldSimulation;
  f.UndEnergy = Mul(ReadFloat(List_Energy), MevToEv);
  f.UndGamma = Add(Div(f.UndEnergy, ElectronRestEnergyEv), 1.0);
  f.UndBeta = Root(Sub(1.0, Div(1.0, Mul(f.UndGamma, f.UndGamma))));
  UpdateCommonDerived();
  List_beta->setEditText(FormatFixed(f.UndBeta, ShownDigits, 6));
  ShowRadWavelength();
  SetSlaveParameter();
}

// K is the one quantity that depends on both the period and the field, and a change of either
// holds the other; so the two changes recompute the same thing. γ comes from E, never from β.
void TUndulatorSetupDlg::KFromFieldAndPeriod() {
  ReadAllParameter();
  TFieldSimulation& f = State.FieldSimulation;
  f.UndK = Mul(Mul(DeflectionFactor, f.UndBu), f.UndPeriod);
  f.UndGamma = Add(Div(f.UndEnergy, ElectronRestEnergyEv), 1.0);
  UpdateCommonDerived();
  List_K->setEditText(FormatFixed(f.UndK, ShownDigits, 6));
  ShowRadWavelength();
  SetSlaveParameter();
}

// A new period holds the field.
void TUndulatorSetupDlg::List_LuChange() {
  KFromFieldAndPeriod();
}

// A new K holds the period: Bu = K / 93 / λu follows, shown in kG.
void TUndulatorSetupDlg::List_KChange() {
  ReadAllParameter();
  TFieldSimulation& f = State.FieldSimulation;
  f.UndBu = Div(Div(f.UndK, DeflectionFactor), f.UndPeriod);
  f.UndGamma = Add(Div(f.UndEnergy, ElectronRestEnergyEv), 1.0);
  UpdateCommonDerived();
  List_Bu->setEditText(FormatFixed(Mul(f.UndBu, TToKg), ShownDigits, 6));
  ShowRadWavelength();
  SetSlaveParameter();
}

// A new field holds the period.
void TUndulatorSetupDlg::List_BuChange() {
  KFromFieldAndPeriod();
}

// A box that does not convert keeps the dialog open with the user's texts, so that OK never
// reports success for values that were not all stored. So does a path the charge cannot run:
// γ = 1 / √(1 − β²) has no value from β = 1 on, and the main window would refuse the rest.
void TUndulatorSetupDlg::OKBtnClick() {
  ReadAllParameter();
  const TFieldSimulation& f = State.FieldSimulation;
  if (!(f.UndBeta < 1.0)) {
    throw EError(QStringLiteral("The electron velocity must be below the light velocity (%1 was "
                                "given).")
                     .arg(FormatFixed(f.UndBeta, ShownDigits, 3)));
  }
  const std::string refusal = CheckTrajectory(tmUndulator, f, f.WaveVelocity);
  if (!refusal.empty()) throw EError(refusal);
  done(mrOk);
}

// The boxes are stored one by one as they convert and the derived values step by step, so a
// box that does not convert or a step that fails would leave part of an edit stored: a refused
// β of 1 would stay the undulator's speed. The values are put back as they were instead.
void TUndulatorSetupDlg::AllOrNothing(void (TUndulatorSetupDlg::*handler)()) {
  const TTrajectoryParameters before = State.FieldSimulation;
  try {
    (this->*handler)();
  } catch (...) {
    static_cast<TTrajectoryParameters&>(State.FieldSimulation) = before;
    throw;
  }
}
