#include "ui/main_window.hpp"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "access/user_interface_channel.hpp"
#include "base/c_format.hpp"
#include "ui/choice_list_dialog.hpp"
#include "ui/field_form_dialog.hpp"
#include "ui/command_ids.hpp"
#include "ui/list_model.hpp"
#include "ui/menu_table.hpp"
#include "ui/qt_user_interface.hpp"
#include "ui/track_view_window.hpp"

namespace trelvik {

namespace {

constexpr int kVersion = 472;  // shown as 4.72

// Window heights of the list sizes, in dialog units.
constexpr int kSmallHeightDlu = 200;
constexpr int kDefaultHeightDlu = 310;
constexpr int kWindowWidthDlu = 342;

QLabel* LineField(const char* text, QWidget* parent) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setMinimumWidth(1);  // long texts never widen the window
  return label;
}

}  // namespace

MainWindow::MainWindow(TrackLog& log, WaypointList& waypoints, QtUserInterface& qtUi, MainWindowOptions options,
                       UserInterface* reporter, QWidget* parent)
    : QMainWindow(parent),
      log_(log),
      waypoints_(waypoints),
      qtUi_(qtUi),
      ui_(reporter ? *reporter : static_cast<UserInterface&>(qtUi)),
      options_(std::move(options)) {
  BuildContents();
  BuildMenus();
  BuildShortcuts();
  qtUi_.SetOwner(this);
  qtUi_.SetLines(product_, status_);
  InstallHandlers();
  setWindowTitle(TitleText());
  // The waypoint view is bound first.
  ShowView(ViewMode::Waypoints);
  // At least as wide as the track log's columns, so a point reads on one line.
  int trackWidth = 4 * style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  for (const ListColumn& column : ColumnsFor(ViewMode::TrackLog, true)) trackWidth += ColumnWidth(column.widthChars);
  const QFontMetrics metrics(font());
  resize(std::max(kWindowWidthDlu * metrics.averageCharWidth() / 4, trackWidth), kDefaultHeightDlu * metrics.height() / 8);
}

MainWindow::~MainWindow() { qtUi_.SetLines(nullptr, nullptr); }

void MainWindow::BuildContents() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);

  auto* top = new QHBoxLayout;
  auto* buttons = new QGridLayout;
  for (const QuickButtonPlace& quick : QuickButtons()) {
    auto* button = new QPushButton(QString::fromLatin1(quick.text), central);
    const int id = quick.commandId;
    connect(button, &QPushButton::clicked, this, [this, id] { Dispatch(id); });
    buttons->addWidget(button, quick.row, quick.column);
    quickButtons_[id] = button;
  }
  top->addLayout(buttons);
  auto* saveLog = new QPushButton(QStringLiteral("Save log\n(Flight &Data)"), central);
  saveLog->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  connect(saveLog, &QPushButton::clicked, this, [this] { Dispatch(command::kSaveLogButton); });
  quickButtons_[command::kSaveLogButton] = saveLog;
  top->addWidget(saveLog);
  top->addStretch();
  layout->addLayout(top);

  product_ = LineField("Product", central);
  status_ = LineField("Status", central);
  layout->addWidget(product_);
  layout->addWidget(status_);

  auto* controls = new QHBoxLayout;
  auto* selectLabel = new QLabel(QStringLiteral("&Select item(s)"), central);
  controls->addWidget(selectLabel);
  controls->addStretch();
  utmBox_ = new QCheckBox(QStringLiteral("&UTM"), central);
  connect(utmBox_, &QCheckBox::clicked, this, &MainWindow::ToggleUtm);
  controls->addWidget(utmBox_);
  auto* abort = new QPushButton(QStringLiteral("&Abort transfer"), central);
  connect(abort, &QPushButton::clicked, this, &MainWindow::AbortTransfer);
  controls->addWidget(abort);
  auto* exitButton = new QPushButton(QStringLiteral("E&xit"), central);
  connect(exitButton, &QPushButton::clicked, this, [this] { Dispatch(command::kExit); });
  controls->addWidget(exitButton);
  layout->addLayout(controls);

  model_ = new ListModel(log_, waypoints_, this);
  list_ = new QTableView(central);
  list_->setModel(model_);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setShowGrid(false);
  list_->setWordWrap(false);
  list_->setAlternatingRowColors(true);
  list_->verticalHeader()->hide();
  // Fixed row heights keep a list of 200,000 rows from measuring every row.
  list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 4);
  list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  list_->horizontalHeader()->setHighlightSections(false);
  selectLabel->setBuddy(list_);
  layout->addWidget(list_, 1);

  setCentralWidget(central);
}

void MainWindow::BuildMenus() {
  std::vector<QMenu*> open;
  for (const MenuEntry& entry : MainMenuTable()) {
    const QString text = QString::fromLatin1(entry.text);
    switch (entry.row) {
      case MenuRow::Submenu:
        open.push_back(open.empty() ? menuBar()->addMenu(text) : open.back()->addMenu(text));
        break;
      case MenuRow::End:
        open.pop_back();
        break;
      case MenuRow::Separator:
        open.back()->addSeparator();
        break;
      case MenuRow::Command:
      case MenuRow::Check: {
        QAction* action = open.back()->addAction(text);
        action->setCheckable(entry.row == MenuRow::Check);
        if (entry.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
        action->setEnabled(false);
        const int id = entry.id;
        connect(action, &QAction::triggered, this, [this, id] { Dispatch(id); });
        actions_.emplace(id, action);
        break;
      }
    }
  }
  for (auto& [id, button] : quickButtons_) button->setEnabled(false);
}

void MainWindow::BuildShortcuts() {
  // Shortcuts without a menu entry.
  const std::pair<const char*, int> shortcuts[] = {
      {"Ctrl+S", command::kSaveLogButton},
      {"Ctrl+C", command::kCopyTrackToClipboard},
      {"Ctrl+Alt+C", command::kToggleCompSpecial},
      {"Ctrl+Shift+C", command::kToggleCompSpecial},
  };
  for (const auto& [keys, id] : shortcuts) {
    auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(keys)), this);
    connect(shortcut, &QShortcut::activated, this, [this, id = id] {
      if (HasHandler(id)) Dispatch(id);
    });
  }
}

void MainWindow::SetHandler(int id, std::function<void()> handler) {
  handlers_[id] = std::move(handler);
  if (QAction* action = Action(id)) action->setEnabled(true);
  if (QPushButton* button = QuickButton(id)) button->setEnabled(true);
}

QAction* MainWindow::Action(int id) const {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

QPushButton* MainWindow::QuickButton(int id) const {
  const auto it = quickButtons_.find(id);
  return it == quickButtons_.end() ? nullptr : it->second;
}

void MainWindow::Dispatch(int id) {
  const auto it = handlers_.find(id);
  if (it != handlers_.end()) it->second();
}

TrackViewWindow* MainWindow::TrackView() const { return trackView_; }

ViewMode MainWindow::Mode() const { return model_->Mode(); }
bool MainWindow::UtmDisplay() const { return utmBox_->isChecked(); }

void MainWindow::ShowView(ViewMode mode) {
  list_->clearSelection();
  model_->SetView(mode, utmBox_->isChecked());
  UpdateColumnWidths();
}

void MainWindow::RefreshList() {
  model_->Refresh();
  UpdateColumnWidths();
}

int MainWindow::ColumnWidth(int widthChars) const {
  // Cells are mostly digits, which are wider than the font's average
  // character; the factor keeps "2008-07-12" whole in the 8-character column.
  const QFontMetrics metrics = list_->fontMetrics();
  const int unit = std::max(metrics.averageCharWidth(), metrics.horizontalAdvance(QLatin1Char('0')));
  return widthChars * unit * 13 / 10 + 2 * metrics.averageCharWidth();
}

void MainWindow::UpdateColumnWidths() {
  const std::span<const ListColumn> columns = model_->Columns();
  list_->horizontalHeader()->setMinimumSectionSize(ColumnWidth(1));
  for (size_t i = 0; i < columns.size(); ++i) {
    list_->setColumnWidth(static_cast<int>(i), ColumnWidth(columns[i].widthChars));
  }
  list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 4);
}

QString MainWindow::TitleText() const {
  std::string title = CFormat("Trelvik %d.%02d", kVersion / 100, kVersion % 100);
  if (!options_.portName.empty()) title += ", " + options_.portName;
  if (options_.competitionMode) title += options_.compSpecial ? ", Comp. mode" : ", Competition mode";
  return QString::fromStdString(title);
}

void MainWindow::SetPortName(const std::string& portName) {
  options_.portName = portName;
  setWindowTitle(TitleText());
}

void MainWindow::SetCompetitionMode(bool on, bool special) {
  options_.competitionMode = on;
  options_.compSpecial = special;
  setWindowTitle(TitleText());
}

void MainWindow::SetListSize(ListSize size) {
  if (size == listSize_) return;
  listSize_ = size;
  const QFontMetrics metrics(font());
  int height = 0;
  switch (size) {
    case ListSize::Small: height = kSmallHeightDlu * metrics.height() / 8; break;
    case ListSize::Default: height = kDefaultHeightDlu * metrics.height() / 8; break;
    case ListSize::Large: {
      const QScreen* screen = this->screen();
      const int work = screen ? screen->availableGeometry().height() : 768;
      const int caption = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
      height = work - caption;
      break;
    }
  }
  resize(width(), height);
  emit listSizeChanged(size);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  RunCloseSequence();
  event->accept();
}

}  // namespace trelvik
