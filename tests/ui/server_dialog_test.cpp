// The "Server" dialog over a real loopback port: its port checks, its status
// line and session rows, and Close with its question.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include "access/posix_serial_link.hpp"
#include "instruments/protocol_table.hpp"
#include "support/scripted_user_interface.hpp"
#include "ui/qt_application.hpp"
#include "ui/server_dialog.hpp"

namespace trelvik {
namespace {

using testing::RecordedBox;

// Serves the dialog's queued reports until `done` holds (at most two seconds).
template <typename Predicate>
bool ServeUntil(Predicate done) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < 2000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ::usleep(5000);
  }
  return done();
}

QString Cell(const QTableWidget& table, int row, int column) {
  const QTableWidgetItem* item = table.item(row, column);
  return item ? item->text() : QString();
}

int Connect(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

class ServerDialogTest : public ::testing::Test {
 protected:
  ServerDialogTest() {
    testing::Application();
    (void)RegisterInstruments(table_);
    dialog_ = std::make_unique<ServerDialog>(table_, opener_, ui_, nullptr);
  }

  JobTable table_;
  PosixLinkOpener opener_;
  testing::ScriptedUserInterface ui_;
  std::unique_ptr<ServerDialog> dialog_;
};

TEST_F(ServerDialogTest, PortFieldIsCheckedBeforeTheServerStarts) {
  dialog_->Open();
  EXPECT_EQ(dialog_->PortField().text(), "61234");
  EXPECT_FALSE(dialog_->OtherComputers().isChecked());  // loopback unless asked
  for (const char* input : {"", "61x", "65536"}) {
    dialog_->PortField().setText(input);
    dialog_->StartServer();
  }
  EXPECT_EQ(ui_.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "Missing port input", "Start server"},
                                                 {MessageKind::Error, "Bad port input", "Start server"},
                                                 {MessageKind::Error, "Port out of range", "Start server"}}));
  EXPECT_FALSE(dialog_->Server().Listening());
}

TEST_F(ServerDialogTest, ShowsItsSessionsAndClosesThemAfterTheQuestion) {
  dialog_->Open();
  dialog_->PortField().setText("0");
  dialog_->StartServer();
  ASSERT_TRUE(dialog_->Server().Listening());
  const int port = dialog_->Server().Port();
  EXPECT_TRUE(ServeUntil([&] { return dialog_->StatusLine().text() == QString("Listening on port %1").arg(port); }));
  dialog_->StartServer();
  EXPECT_EQ(ui_.boxes.back(), (RecordedBox{MessageKind::Error, "Server already started", "Start server"}));

  const int client = Connect(port);
  ASSERT_GE(client, 0);
  EXPECT_TRUE(ServeUntil([&] { return Cell(dialog_->Sessions(), 0, 2) == "Waiting for command"; }));
  EXPECT_EQ(Cell(dialog_->Sessions(), 0, 0), "127.0.0.1");

  ui_.QueueAnswer(Answer::Cancel);
  dialog_->CloseServer();  // not closed without OK
  EXPECT_TRUE(dialog_->Server().Listening());
  EXPECT_EQ(ui_.questions.back().text, "This will close any active connections");
  EXPECT_EQ(ui_.questions.back().caption, "Close server");

  ui_.QueueAnswer(Answer::Ok);
  dialog_->CloseServer();
  EXPECT_FALSE(dialog_->Server().Listening());
  EXPECT_FALSE(dialog_->isVisible());
  pollfd entry{client, POLLIN, 0};
  ASSERT_EQ(::poll(&entry, 1, 2000), 1);
  char byte;
  EXPECT_EQ(::recv(client, &byte, 1, 0), 0);  // the idle session was closed
  ::close(client);
  EXPECT_TRUE(ServeUntil([&] { return Cell(dialog_->Sessions(), 0, 2) == "Closed"; }));
}

}  // namespace
}  // namespace trelvik
