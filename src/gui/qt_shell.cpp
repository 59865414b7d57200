#include "gui/qt_shell.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <utility>

namespace tabrel::gui {
namespace {

QString Q(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtShell::QtShell(QString opener, std::chrono::milliseconds wait)
    : opener_(std::move(opener)), wait_(wait) {}

Status QtShell::StartProgram(const std::vector<std::string>& argv) {
  if (argv.empty()) return Status::Error(error_number::kFileNotFound, "No program is named.");
  QStringList arguments;
  for (std::size_t i = 1; i < argv.size(); ++i) arguments << Q(argv[i]);
  if (QProcess::startDetached(Q(argv[0]), arguments)) return Status::Ok();
  // The caller says that the program could not be started; this says why.
  // Qt does not tell, so the usual causes are looked for.
  const QString program = Q(argv[0]);
  const bool bare = !program.contains(QLatin1Char('/'));
  const QString found = bare ? QStandardPaths::findExecutable(program) : program;
  const QFileInfo file(found);
  std::string why = "The system did not start it.";
  if (found.isEmpty()) {
    why = "No program of that name is on the search path (PATH).";
  } else if (!file.exists()) {
    why = "There is no such file.";
  } else if (file.isDir() || !file.isExecutable()) {
    why = "That file is not a program that can be run.";
  }
  return Status::Error(error_number::kFileNotFound, why);
}

Status QtShell::OpenWithDefault(const std::string& path) {
  return Open(Q(path), path);
}

Status QtShell::OpenUrl(const std::string& url) {
  return Open(Q(url), url);
}

Status QtShell::Open(const QString& target, const std::string& shown) {
  auto process = std::make_unique<QProcess>();
  process->start(opener_, {target});
  if (!process->waitForStarted(2000)) {
    const QUrl url = target.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(target)
                                                         : QUrl(target, QUrl::StrictMode);
    if (QDesktopServices::openUrl(url)) return Status::Ok();
    return Status::Error(error_number::kFileNotFound,
                         "No program to open " + shown + " was found on this desktop.");
  }
  // The window keeps drawing while the opener decides; keys and clicks wait.
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  QObject::connect(process.get(), &QProcess::finished, &loop, &QEventLoop::quit);
  timer.start(wait_);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  if (process->state() != QProcess::NotRunning) {
    // Handed on: the opener waits for its program. It goes when it ends.
    QProcess* running = process.release();
    QObject::connect(running, &QProcess::finished, running, &QObject::deleteLater);
    return Status::Ok();
  }
  if (process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0) {
    return Status::Ok();
  }
  const std::string how = process->exitStatus() == QProcess::NormalExit
                              ? "ended with status " + std::to_string(process->exitCode())
                              : std::string("crashed");
  return Status::Error(error_number::kFileNotFound, "The desktop has no program for it (" +
                                                        opener_.toStdString() + " " + how + ").");
}

}  // namespace tabrel::gui
