#include "ui/analysis/olc_window.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "analysis/olc/olc_claim.hpp"
#include "analysis/olc/olc_texts.hpp"
#include "base/atomic_file.hpp"
#include "base/message_box.hpp"
#include "trackfiles/igc_encoder.hpp"
#include "trackfiles/igc_names.hpp"

namespace trelvik {

namespace {

constexpr int kProgressMilliseconds = 500;
constexpr int kFieldLimit = 80;  // characters of a pilot field
constexpr std::string_view kSaveCaption = "Save OLC data";

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
QString Latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

std::string WithoutIgcExtension(std::string name) {
  constexpr std::string_view kIgc = ".igc";
  if (name.size() >= kIgc.size() && name.compare(name.size() - kIgc.size(), kIgc.size(), kIgc) == 0) {
    name.resize(name.size() - kIgc.size());
  }
  return name;
}

}  // namespace

std::string OlcIgcName(const OlcFlightSource& source, int flightNumber, bool longName) {
  return WithoutIgcExtension(longName ? IgcRawLongName(source.date, source.maker, source.serial, flightNumber)
                                      : IgcShortName(source.date, source.serial, flightNumber));
}

std::string ClaimBytes(const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() > 0xFF) return text.toStdString();
  }
  return text.toLatin1().toStdString();
}

OlcWindow::OlcWindow(std::unique_ptr<olc::OlcSearch> search, OlcFlightSource source, Settings& settings,
                     UserInterface& ui, QWidget* parent)
    : QDialog(parent), source_(std::move(source)), settings_(settings), ui_(ui) {
  setWindowTitle(QStringLiteral("OLC statistics"));
  BuildContents();
  timer_ = new QTimer(this);
  connect(timer_, &QTimer::timeout, this, [this] { progress_->setText(Utf8(computation_.Progress())); });
  timer_->start(kProgressMilliseconds);
  const bool running = computation_.Start(
      std::move(search),
      [this](std::string_view text) {
        QMetaObject::invokeMethod(
            this, [this, line = Utf8(text)] { status_->setText(line); }, Qt::QueuedConnection);
      },
      [this](olc::OlcOutcome outcome) {
        QMetaObject::invokeMethod(
            this,
            [this, outcome] {
              if (outcome == olc::OlcOutcome::MemoryError) {
                ShowError(ui_, "Memory allocation error", olc::kOlcInitCaption);
              }
              ShowResults();
            },
            Qt::QueuedConnection);
      });
  if (!running) {
    ShowError(ui_, "Could not create optimisation thread", olc::kOlcInitCaption);
    ShowResults();
  }
}

OlcWindow::~OlcWindow() { computation_.Close(); }

void OlcWindow::BuildContents() {
  auto* layout = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;

  results_ = new QPlainTextEdit(this);
  results_->setReadOnly(true);
  results_->setLineWrapMode(QPlainTextEdit::NoWrap);
  results_->setAccessibleName(QStringLiteral("Results"));
  QFont fixed = results_->font();
  fixed.setFamily(QStringLiteral("monospace"));
  fixed.setStyleHint(QFont::Monospace);
  results_->setFont(fixed);
  results_->setMinimumWidth(results_->fontMetrics().horizontalAdvance(QString(78, QLatin1Char('0'))));
  results_->setMinimumHeight(results_->fontMetrics().lineSpacing() * 24);
  columns->addWidget(results_, 1);

  auto* pilot = new QGroupBox(QStringLiteral("Pilot and flight"), this);
  auto* form = new QFormLayout(pilot);
  auto field = [&](QLineEdit*& edit, const char* label, const std::string& value) {
    edit = new QLineEdit(Utf8(value), pilot);
    edit->setMaxLength(kFieldLimit);
    form->addRow(QString::fromLatin1(label), edit);
  };
  field(firstName_, "&First name:", settings_.olcFirstName);
  field(lastName_, "&Last name:", settings_.olcLastName);
  field(birthDate_, "&Birth date (dd.mm.yy):", settings_.olcBirthDate);
  gliderClass_ = new QComboBox(pilot);
  for (const olc::GliderClass& c : olc::GliderClasses()) gliderClass_->addItem(Latin1(c.name));
  gliderClass_->setCurrentIndex(static_cast<int>(olc::GliderClassIndex(settings_.olcGliderClass).value_or(0)));
  form->addRow(QStringLiteral("Glider &class:"), gliderClass_);
  field(gliderType_, "Glider &type:", settings_.olcGliderType);
  field(callSign_, "Call si&gn:", settings_.olcCallSign);
  field(startPlace_, "Start &place:", settings_.olcStartPlace);
  region_ = new QComboBox(pilot);
  for (const olc::Region& r : olc::Regions()) region_->addItem(Latin1(r.text));
  region_->setCurrentIndex(static_cast<int>(olc::RegionIndex(settings_.olcRegion)));
  form->addRow(QStringLiteral("&Region:"), region_);
  field(flightNumber_, "Flight &# (1-35):", settings_.igcFlightNo);
  flightNumber_->setMaxLength(10);
  longName_ = new QCheckBox(QStringLiteral("Long file&name"), pilot);
  longName_->setChecked(settings_.olcLongFileName != 0);
  form->addRow(QString(), longName_);
  columns->addWidget(pilot);
  layout->addLayout(columns);

  final_ = new QLabel(QStringLiteral("Final result"), this);
  final_->setAccessibleName(QStringLiteral("Final result"));
  layout->addWidget(final_);
  auto* statusRow = new QHBoxLayout;
  status_ = new QLabel(QStringLiteral("Status"), this);
  status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  status_->setAccessibleName(QStringLiteral("Status"));
  progress_ = new QLabel(QStringLiteral("0 %"), this);
  progress_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  progress_->setAccessibleName(QStringLiteral("Progress"));
  progress_->setMinimumWidth(progress_->fontMetrics().horizontalAdvance(QStringLiteral("Done: 000")));
  statusRow->addWidget(status_, 1);
  statusRow->addWidget(progress_);
  layout->addLayout(statusRow);

  auto* buttons = new QDialogButtonBox(this);
  halt_ = buttons->addButton(QStringLiteral("&Halt"), QDialogButtonBox::ActionRole);
  saveOlc_ = buttons->addButton(QStringLiteral("Save &OLC only"), QDialogButtonBox::ActionRole);
  saveIgc_ = buttons->addButton(QStringLiteral("&Save with IGC"), QDialogButtonBox::ActionRole);
  exit_ = buttons->addButton(QStringLiteral("E&xit"), QDialogButtonBox::RejectRole);
  for (QPushButton* button : {halt_, saveOlc_, saveIgc_, exit_}) button->setAutoDefault(false);
  connect(halt_, &QPushButton::clicked, this, &OlcWindow::Halt);
  connect(saveOlc_, &QPushButton::clicked, this, [this] { Save(false); });
  connect(saveIgc_, &QPushButton::clicked, this, [this] { Save(true); });
  connect(exit_, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(buttons);
  firstName_->setFocus();
}

void OlcWindow::ShowResults() {
  timer_->stop();
  progress_->setText(Utf8(computation_.Progress()));
  halt_->setEnabled(false);
  if (computation_.Completed()) {
    const olc::OlcResult& result = computation_.Result();
    QString text;
    for (const olc::ResultSection& section : olc::ResultSections(result, computation_.Points())) {
      text += Latin1(section.title) + QLatin1Char('\n');
      for (const std::string& line : section.lines) text += QStringLiteral("  ") + Utf8(line) + QLatin1Char('\n');
      if (!section.total.empty()) text += QStringLiteral("  ") + Utf8(section.total) + QLatin1Char('\n');
      text += QLatin1Char('\n');
    }
    text += QStringLiteral("Free distance: %1 points\nFree triangle: %2 points\nFAI triangle: %3 points\n")
                .arg(result.freeDistancePoints, 0, 'f', 2)
                .arg(result.freeTrianglePoints, 0, 'f', 2)
                .arg(result.faiTrianglePoints, 0, 'f', 2);
    results_->setPlainText(text);
    final_->setText(Utf8(olc::BestResultText(result)));
  }
  saveOlc_->setEnabled(computation_.Completed());
  saveIgc_->setEnabled(computation_.Completed());
  emit searchFinished();
}

void OlcWindow::Halt() { computation_.Halt(); }

olc::PilotFields OlcWindow::Fields() const {
  olc::PilotFields f;
  f.firstName = ClaimBytes(firstName_->text());
  f.lastName = ClaimBytes(lastName_->text());
  f.birthDate = ClaimBytes(birthDate_->text());
  f.gliderType = ClaimBytes(gliderType_->text());
  f.callSign = ClaimBytes(callSign_->text());
  f.startPlace = ClaimBytes(startPlace_->text());
  if (gliderClass_->currentIndex() >= 0) f.gliderClass = static_cast<size_t>(gliderClass_->currentIndex());
  f.region = region_->currentIndex() > 0 ? static_cast<size_t>(region_->currentIndex()) : 0;
  f.flightNumber = flightNumber_->text().toStdString();
  return f;
}

void OlcWindow::StoreSettings(const olc::CheckedPilot& pilot) {
  settings_.olcFirstName = firstName_->text().toStdString();
  settings_.olcLastName = lastName_->text().toStdString();
  settings_.olcBirthDate = pilot.fields.birthDate;
  settings_.olcGliderClass = std::string(olc::GliderClasses()[*pilot.fields.gliderClass].name);
  settings_.olcGliderType = gliderType_->text().toStdString();
  settings_.olcCallSign = callSign_->text().toStdString();
  settings_.olcStartPlace = startPlace_->text().toStdString();
  settings_.olcRegion = std::string(olc::Regions()[pilot.fields.region].code);
  settings_.olcLongFileName = longName_->isChecked() ? 1 : 0;
  birthDate_->setText(Utf8(pilot.fields.birthDate));
}

std::optional<std::string> OlcWindow::IgcText(const olc::CheckedPilot& pilot, bool& hasSecurity) const {
  hasSecurity = true;
  if (!source_.rawIgc.empty()) return source_.rawIgc;
  IgcEncoderInput input;
  input.points = computation_.Points();
  input.signable = source_.signable;
  input.pilot = pilot.fields.firstName + " " + pilot.fields.lastName;
  input.gliderType = pilot.fields.gliderType;
  input.gliderId = pilot.fields.callSign;
  input.competitionClass = std::string(olc::GliderClasses()[*pilot.fields.gliderClass].name);
  input.site = pilot.fields.startPlace;
  input.description = source_.description;
  input.serial = "000";
  input.downloadTime = DateFromTrackTime(source_.date);
  input.wantSecurity = true;
  input.addEnl = settings_.igcAddEnl != 0;
  EncodedIgc encoded = EncodeIgc(input);
  if (encoded.length <= 0) {
    ShowError(ui_, "Memory allocation error", kSaveCaption);
    return std::nullopt;
  }
  hasSecurity = encoded.isSigned;
  return std::move(encoded.text);
}

void OlcWindow::Save(bool withIgc) {
  if (!computation_.Completed()) return;
  const std::optional<olc::CheckedPilot> pilot = olc::CheckPilotFields(ui_, Fields());
  if (!pilot) return;
  const std::string igcName = OlcIgcName(source_, pilot->flightNumber, longName_->isChecked());
  const std::optional<std::string> path =
      SaveFileDialog(ui_, "Save OLC file", "OLC files", ".olc", settings_.olcDir, igcName);
  if (!path) return;
  const olc::OlcResult& result = computation_.Result();
  std::array<TrackPoint, 5> corners{};
  for (size_t i = 0; i < corners.size(); ++i) corners[i] = computation_.Points()[static_cast<size_t>(result.w[i])];
  const std::string line = olc::ClaimLine(*pilot, igcName, corners, kTrelvikVersion);
  bool hasSecurity = true;
  std::string igc;
  if (withIgc) {
    std::optional<std::string> text = IgcText(*pilot, hasSecurity);
    if (!text) return;
    igc = std::move(*text);
  }
  if (const FileWriteError error = WriteFileAtomically(*path, olc::ClaimFile(line, igc))) {
    ShowSystemError(ui_, "File write error", error.errorNumber);
    return;
  }
  StoreSettings(*pilot);
  ShowInfo(ui_, hasSecurity ? "File written" : "File written. NO security record", kSaveCaption);
}

void OlcWindow::done(int result) {
  // Closing halts the worker and waits for it, so the points it reads stay
  // valid until it has left.
  computation_.Close();
  timer_->stop();
  QDialog::done(result);
}

}  // namespace trelvik
