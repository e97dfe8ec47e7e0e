#include "ui/analysis/statistics_window.hpp"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtMath>

#include "analysis/contest/contest_score_text.hpp"
#include "trackfiles/kml_flightlog.hpp"

namespace trelvik {

namespace {

constexpr int kDescriptionLimit = 8000;  // characters of the log description
constexpr int kDescriptionLines = 5;     // lines shown at once

constexpr const char* kValueNames[] = {
    "Date", "Start", "Finish", "Duration", "Highest", "Lowest", "Greatest mean speed", "Top speed", "Total distance"};
constexpr const char* kDistanceNames[] = {"2 points",       "3 points",      "4 points",    "5 points",
                                          "Out-and-return", "Flat triangle", "FAI triangle"};

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QLabel* ValueLabel(const char* name, QWidget* parent) {
  auto* value = new QLabel(parent);
  value->setTextInteractionFlags(Qt::TextSelectableByMouse);
  value->setAccessibleName(QString::fromLatin1(name));
  value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00")));
  return value;
}

}  // namespace

void FlightStatisticsWindow::StatusRelay::ShowMessage(MessageKind kind, std::string_view text,
                                                      std::string_view caption) {
  QMetaObject::invokeMethod(
      &window_,
      [window = &window_, kind, text = std::string(text), caption = std::string(caption)] {
        window->ui_.ShowMessage(kind, text, caption);
      },
      Qt::QueuedConnection);
}

Answer FlightStatisticsWindow::StatusRelay::Ask(QuestionKind kind, std::string_view, std::string_view) {
  // The worker asks nothing; a question from it would need a wait on the window.
  return kind == QuestionKind::YesNo ? Answer::No : Answer::Cancel;
}

void FlightStatisticsWindow::StatusRelay::SetStatus(std::string_view text) {
  QMetaObject::invokeMethod(
      &window_, [window = &window_, line = Utf8(text)] { window->status_->setText(line); }, Qt::QueuedConnection);
}

FlightStatisticsWindow::FlightStatisticsWindow(StatisticsWindowInput input, std::string& trackLogFolder,
                                               UserInterface& ui, ExistingLogbookQuestion askExisting, QWidget* parent)
    : QDialog(parent),
      input_(std::move(input)),
      statistics_(ComputeFlightStatistics(input_.points)),
      trackLogFolder_(trackLogFolder),
      ui_(ui),
      askExisting_(std::move(askExisting)) {
  setWindowTitle(QStringLiteral("Flight statistics"));
  BuildContents();

  const FlightStatisticsTexts texts = FormatFlightStatistics(statistics_);
  const std::string* shown[] = {&texts.date,   &texts.start,     &texts.finish,   &texts.duration, &texts.highest,
                                &texts.lowest, &texts.meanSpeed, &texts.topSpeed, &texts.distance};
  for (size_t i = 0; i < values_.size(); ++i) values_[i]->setText(Utf8(*shown[i]));

  started_ = CurrentTrackTime();
  const bool running =
      computation_.Start(input_.points, input_.options, &relay_, [this](int code, const OptimisationResult& result) {
        QMetaObject::invokeMethod(
            this, [this, code, result] { ShowDistances(code, result); }, Qt::QueuedConnection);
      });
  if (!running) {
    // No thread: the dialog still shows the statistics and can be saved without distances.
    ShowDistances(-1, OptimisationResult());
  }
  const bool scoring = contest_.Start(std::move(input_.contestFixes),
                                      [this](contest::ContestRules rules, const contest::ContestScore& score) {
                                        QMetaObject::invokeMethod(
                                            this, [this, rules, score] { ShowContestScore(rules, score); },
                                            Qt::QueuedConnection);
                                      });
  if (!scoring) {
    for (QLabel* label : contestScores_) label->setText(QStringLiteral("not available"));
    contestScoresShown_ = true;
  }
}

FlightStatisticsWindow::~FlightStatisticsWindow() {
  // The workers post to this object; they must be gone before the object is.
  computation_.Close();
  contest_.Close();
}

void FlightStatisticsWindow::BuildContents() {
  auto* layout = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;

  auto* flight = new QGroupBox(QStringLiteral("Flight"), this);
  auto* flightGrid = new QGridLayout(flight);
  for (size_t i = 0; i < values_.size(); ++i) {
    values_[i] = ValueLabel(kValueNames[i], flight);
    flightGrid->addWidget(new QLabel(QString::fromLatin1(kValueNames[i]) + QLatin1Char(':'), flight),
                          static_cast<int>(i), 0);
    flightGrid->addWidget(values_[i], static_cast<int>(i), 1);
  }
  columns->addWidget(flight);

  auto* optimised = new QGroupBox(QStringLiteral("Optimised distance (km)"), this);
  auto* optimisedGrid = new QGridLayout(optimised);
  for (size_t i = 0; i < distances_.size(); ++i) {
    distances_[i] = ValueLabel(kDistanceNames[i], optimised);
    distances_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    optimisedGrid->addWidget(new QLabel(QString::fromLatin1(kDistanceNames[i]) + QLatin1Char(':'), optimised),
                             static_cast<int>(i), 0);
    optimisedGrid->addWidget(distances_[i], static_cast<int>(i), 1);
  }
  optimisedGrid->setRowStretch(static_cast<int>(distances_.size()), 1);
  columns->addWidget(optimised);
  layout->addLayout(columns);

  // Today's open-distance contests score with their own rules; the pilot sees
  // both before submitting.
  auto* contests = new QGroupBox(QStringLiteral("Contest score"), this);
  auto* contestGrid = new QGridLayout(contests);
  for (size_t i = 0; i < contestScores_.size(); ++i) {
    const std::string_view rules = contest::RulesName(contest::kContestRules[i]);
    contestScores_[i] = ValueLabel(rules.data(), contests);
    contestScores_[i]->setText(QStringLiteral("computing..."));
    contestGrid->addWidget(new QLabel(Utf8(rules) + QLatin1Char(':'), contests), static_cast<int>(i), 0);
    contestGrid->addWidget(contestScores_[i], static_cast<int>(i), 1);
  }
  contestGrid->setColumnStretch(1, 1);
  layout->addWidget(contests);

  status_ = new QLabel(QStringLiteral("Status"), this);
  status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  status_->setAccessibleName(QStringLiteral("Status"));
  status_->setMinimumWidth(
      status_->fontMetrics().horizontalAdvance(QStringLiteral("Computing completed (0000.000 secs)")));
  layout->addWidget(status_);

  const QString descriptionLabel =
      QString::fromLatin1(kLogDescriptionLabel.data(), static_cast<qsizetype>(kLogDescriptionLabel.size()));
  auto* label = new QLabel(descriptionLabel, this);
  description_ = new QPlainTextEdit(this);
  description_->setTabChangesFocus(true);
  description_->setAccessibleName(QStringLiteral("Log description"));
  // Five lines inside the frame and the document's margins, so the frame's
  // last row is not lost to rounding at fractional scales.
  const int margins = 2 * (description_->frameWidth() + qCeil(description_->document()->documentMargin()));
  description_->setFixedHeight(description_->fontMetrics().lineSpacing() * kDescriptionLines + margins);
  connect(description_, &QPlainTextEdit::textChanged, this, [this] {
    const QString text = description_->toPlainText();
    if (text.size() <= kDescriptionLimit) return;
    QTextCursor cursor = description_->textCursor();
    const int position = std::min(cursor.position(), kDescriptionLimit);
    description_->setPlainText(text.left(kDescriptionLimit));
    cursor.setPosition(position);
    description_->setTextCursor(cursor);
  });
  label->setBuddy(description_);
  layout->addWidget(label);
  layout->addWidget(description_);

  auto* buttons = new QDialogButtonBox(this);
  halt_ = buttons->addButton(QStringLiteral("&Halt computation"), QDialogButtonBox::ActionRole);
  save_ = buttons->addButton(QStringLiteral("&Save"), QDialogButtonBox::ActionRole);
  exit_ = buttons->addButton(QStringLiteral("E&xit"), QDialogButtonBox::RejectRole);
  for (QPushButton* button : {halt_, save_, exit_}) button->setAutoDefault(false);
  connect(halt_, &QPushButton::clicked, this, &FlightStatisticsWindow::Halt);
  connect(save_, &QPushButton::clicked, this, &FlightStatisticsWindow::Save);
  connect(exit_, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(buttons);

  setTabOrder(description_, halt_);
  setTabOrder(halt_, save_);
  setTabOrder(save_, exit_);
  description_->setFocus();
}

void FlightStatisticsWindow::ShowDistances(int code, const OptimisationResult& result) {
  if (code == 0) {
    const std::array<std::string, 7> texts = FormatOptimisedDistances(result);
    for (size_t i = 0; i < distances_.size(); ++i) distances_[i]->setText(Utf8(texts[i]));
  }
  distancesShown_ = true;
  halt_->setEnabled(!contestScoresShown_);
  emit computationFinished();
}

void FlightStatisticsWindow::ShowContestScore(contest::ContestRules rules, const contest::ContestScore& score) {
  for (size_t i = 0; i < contestScores_.size(); ++i) {
    if (contest::kContestRules[i] == rules) contestScores_[i]->setText(Utf8(contest::ContestScoreText(score)));
  }
  if (rules != contest::kContestRules[std::size(contest::kContestRules) - 1]) return;
  contestScoresShown_ = true;
  halt_->setEnabled(!distancesShown_);
  emit contestScoresFinished();
}

void FlightStatisticsWindow::Halt() {
  computation_.Halt(&relay_);
  contest_.Halt();
}

void FlightStatisticsWindow::Save() {
  if (!computation_.CheckSaveAllowed(ui_)) return;
  KmlTripInput trip;
  trip.points = input_.points;
  trip.firstTime = statistics_.firstTime;
  trip.lastTime = statistics_.lastTime;
  trip.duration = statistics_.duration;
  trip.isSigned = input_.signable == 1 ? 1 : 0;
  trip.downloaded = input_.signable == 1 ? started_ : kNoDownloadTime;
  trip.utcTimes = input_.utcTimes;
  trip.hasPressureAltitude = input_.hasPressureAltitude;
  trip.lowestAltitude = statistics_.lowestAltitude;
  trip.highestAltitude = statistics_.highestAltitude;
  trip.topSpeed = statistics_.topSpeed;
  trip.greatestMeanSpeed = statistics_.greatestMeanSpeed;
  trip.totalDistance = statistics_.totalDistance;
  trip.averageSpeed = statistics_.averageSpeed;
  trip.leastClimb = statistics_.leastClimb;
  trip.greatestClimb = statistics_.greatestClimb;
  if (computation_.Code() == 0) trip.optimisation = computation_.Result();
  trip.loopFlightGap = input_.options.loopFlightGap;
  const std::string title = description_->toPlainText().toStdString();
  // A log without a description names no instrument ("unknown" in the file).
  const std::optional<std::string_view> instrument =
      input_.instrument.empty() ? std::nullopt : std::optional<std::string_view>(input_.instrument);
  if (SaveFlightLogTrack(ui_, trip, title, instrument, trackLogFolder_, askExisting_) == 0) emit saved();
}

void FlightStatisticsWindow::done(int result) {
  // "E&xit" and closing stop the worker and wait for it, so the points it
  // reads stay valid until it has left.
  computation_.Close();
  contest_.Close();
  QDialog::done(result);
}

}  // namespace trelvik
