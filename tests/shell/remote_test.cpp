// Talking to other programs: the reference exchange in one frame, and real
// programs that follow each other and answer requests on their sockets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QThread>
#include <memory>

#include "links/exchange_store.h"
#include "links/remote_socket.h"
#include "platform/u16.h"
#include "real_data.h"
#include "shell/actions.h"
#include "shell/bcv.h"
#include "shell/child_frame.h"
#include "shell/desktop.h"
#include "shell/exchange_link.h"
#include "shell/main_frame.h"
#include "shell/nav_bar.h"
#include "textdb/ini_file.h"

namespace vorn::shell {
namespace {

using links::ExchangeItem;

CBibleRef FocusVerse(CVornChildFrame* w) { return CBibleRef(w->GetDatabase(), w->GetFocusWord()); }

TEST(Exchange, ReceivedVerseMovesTheWindowAndABookItLacksSetsTheBarOnly) {
  const std::string data = testing::RealDataFolder("GNT");
  if (data.empty()) GTEST_SKIP() << "no databases built";
  QTemporaryDir work;
  MainFrameOptions options;
  options.data_folders = {data};
  options.settings_path = work.filePath(QStringLiteral("Vorn.ini")).toStdString();
  options.quiet = true;
  options.exchange_folder = work.filePath(QStringLiteral("Focus")).toStdString();
  CVornMainFrame frame(options);
  CVornChildFrame* w = frame.OpenEntry(frame.GetCatalogue().FindByName(u"GNT"));
  ASSERT_NE(w, nullptr);
  frame.Dispatch(kCmdReceiveRefs);
  frame.Dispatch(kCmdSendRefs);
  QAction* receive = frame.GetActions().Get(kCmdReceiveRefs);
  EXPECT_TRUE(receive->isEnabled() && receive->isChecked());
  const links::CExchangeStore other(options.exchange_folder);
  CExchangeLink* link = frame.GetNavBar()->GetExchange();

  // A peer's text, read as a reference; showing it sends nothing back.
  ASSERT_TRUE(other.Write(ExchangeItem::kScriptureReference, "jhn 3:16\n"));
  link->StoreChanged();
  EXPECT_EQ(platform::ToUtf8(FocusVerse(w).GetKeyString()), "JHN 3:16");
  EXPECT_EQ(other.Read(ExchangeItem::kScriptureReference), "jhn 3:16");

  ASSERT_TRUE(other.Write(ExchangeItem::kScriptureReference, "GEN 1:1"));
  link->StoreChanged();
  EXPECT_EQ(frame.GetNavBar()->GetBcv()->GetCurrentRef().GetBookCode(), u"GEN");
  EXPECT_EQ(platform::ToUtf8(FocusVerse(w).GetKeyString()), "JHN 3:16");
  // The bar still carries what follows into the window's database.
  ASSERT_TRUE(other.Write(ExchangeItem::kScriptureReference, "ROM 8:28"));
  link->StoreChanged();
  EXPECT_EQ(platform::ToUtf8(FocusVerse(w).GetKeyString()), "ROM 8:28");

  // A store that cannot be written is told, not passed over.
  QDir(QString::fromStdString(options.exchange_folder)).removeRecursively();
  QFile blocker(QString::fromStdString(options.exchange_folder));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  w->GoTo(CBibleRef(CBibleRef(u"MAT", 5, u"3"), w->GetDatabase()));
  EXPECT_TRUE(frame.statusBar()->currentMessage().startsWith(QStringLiteral("Couldn't send")))
      << frame.statusBar()->currentMessage().toStdString();
  QFile::remove(QString::fromStdString(options.exchange_folder));

  // The switches go with the settings and desktops.
  CIniFile saved;
  SaveMainFrame(&frame, &saved);
  bool on = false;
  EXPECT_TRUE(saved.GetBool(u"Focus", u"Receive", &on) && on);
  saved.SetBool(u"Focus", u"Send", false);
  RestoreMainFrame(&frame, saved);
  EXPECT_FALSE(link->IsSending());
  EXPECT_TRUE(link->IsReceiving());
}

// Instances of the real program on the offscreen platform, each with its
// own settings under a configuration folder of the test's own.
class RemoteProcesses : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing::RealDataFolder("GNT").empty()) GTEST_SKIP() << "no databases built";
    ASSERT_TRUE(home_.isValid());
    QDir(home_.path()).mkpath(QStringLiteral("run"));
    QFile::setPermissions(home_.filePath(QStringLiteral("run")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert(QStringLiteral("HOME"), home_.path());
    env_.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.filePath(QStringLiteral("cfg")));
    env_.insert(QStringLiteral("XDG_DATA_HOME"), home_.filePath(QStringLiteral("data")));
    env_.insert(QStringLiteral("XDG_RUNTIME_DIR"), home_.filePath(QStringLiteral("run")));
    env_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  }

  // Starts instance `name` with the exchange switches given.
  void Start(const QString& name, bool send, bool receive) {
    const QString config = home_.filePath(QStringLiteral("cfg/vorn/instances/") + name);
    QDir().mkpath(config);
    QFile ini(config + QStringLiteral("/Vorn.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(
        QStringLiteral("[Focus]\nSend=%1\nReceive=%2\n").arg(int(send)).arg(int(receive)).toUtf8());
    ini.close();
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(env_);
    process->setWorkingDirectory(home_.path());
    process->start(QStringLiteral(VORN_PROGRAM), {QStringLiteral("--instance"), name});
    processes_.push_back(std::move(process));
  }

  std::string Ask(const QString& name, const std::string& request) {
    const std::string path = home_.filePath(QStringLiteral("run/vorn/") + name).toStdString();
    std::string reply;
    if (links::RemoteCall(path + ".sock", request, &reply, 20000) != links::CallResult::kReplied)
      return "(no answer)";
    return reply;
  }

  // Asks until the reply is `expected` or 30 seconds have passed.
  std::string AskUntil(const QString& name, const std::string& request,
                       const std::string& expected) {
    QElapsedTimer timer;
    timer.start();
    std::string reply;
    while ((reply = Ask(name, request)) != expected && timer.elapsed() < 30000)
      QThread::msleep(100);
    return reply;
  }

  void TearDown() override {
    for (auto& p : processes_) {
      p->terminate();
      if (!p->waitForFinished(5000)) p->kill();
    }
  }

  QTemporaryDir home_;
  QProcessEnvironment env_;
  std::vector<std::unique_ptr<QProcess>> processes_;
};

TEST_F(RemoteProcesses, InstancesFollowEachOtherAndAnswerScripts) {
  // With sending off, moving writes nothing.
  Start(QStringLiteral("mute"), false, false);
  ASSERT_EQ(AskUntil(QStringLiteral("mute"), "where", "ok GNT MAT 1:1"), "ok GNT MAT 1:1");
  EXPECT_EQ(Ask(QStringLiteral("mute"), "goto John 3:16"), "ok GNT JHN 3:16");
  QThread::msleep(300);
  EXPECT_FALSE(QFile::exists(home_.filePath(QStringLiteral("cfg/Software/SantaFe/Focus"))));

  Start(QStringLiteral("a"), true, false);
  Start(QStringLiteral("b"), false, true);
  for (const char* name : {"a", "b"})
    ASSERT_EQ(AskUntil(QString::fromLatin1(name), "where", "ok GNT MAT 1:1"), "ok GNT MAT 1:1");
  EXPECT_EQ(Ask(QStringLiteral("a"), "goto John 3:16"), "ok GNT JHN 3:16");
  EXPECT_EQ(AskUntil(QStringLiteral("b"), "where", "ok GNT JHN 3:16"), "ok GNT JHN 3:16")
      << processes_[2]->readAll().toStdString();

  // The program started with --goto hands it to the running instance.
  QProcess handover;
  handover.setProcessEnvironment(env_);
  handover.start(QStringLiteral(VORN_PROGRAM),
                 {QStringLiteral("--instance"), QStringLiteral("b"), QStringLiteral("--goto"),
                  QStringLiteral("Rom 8:28")});
  ASSERT_TRUE(handover.waitForFinished(30000));
  EXPECT_EQ(handover.exitCode(), 0);
  EXPECT_EQ(handover.readAllStandardOutput().trimmed().toStdString(), "ok GNT ROM 8:28");
  // A line break in the value would smuggle in a second request: refused.
  handover.start(QStringLiteral(VORN_PROGRAM),
                 {QStringLiteral("--instance"), QStringLiteral("b"), QStringLiteral("--goto"),
                  QStringLiteral("Rom 1:1\ngoto Rev 1:1")});
  ASSERT_TRUE(handover.waitForFinished(30000));
  EXPECT_EQ(handover.exitCode(), 2);

  // Malformed or impossible requests are refused and change nothing.
  for (const char* bad :
       {"bogus", "goto", "where GNT", "goto Xyz 9:9", "goto John 99:1", "goto Gen 1:1\tNOSUCHDB"}) {
    EXPECT_EQ(Ask(QStringLiteral("b"), bad).rfind("error ", 0), 0u) << bad;
  }
  EXPECT_EQ(Ask(QStringLiteral("b"), "where"), "ok GNT ROM 8:28");
}

}  // namespace
}  // namespace vorn::shell
