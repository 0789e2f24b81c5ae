#include "Runner.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "core/hstring.h"

// A command as the two threads share it: written by the worker under the
// mutex, read by the window thread.
struct CommandRunner::Job {
  Work work;
  std::atomic<bool> cancel{false};
  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
  Delivery delivery;
  // How the work ended when it delivered nothing.
  enum class Outcome { kDelivered, kCancelled, kLimit, kFailed } outcome = Outcome::kDelivered;
  std::string message;
  WorkProgress counted{nullptr, 0};
};

// One thread for every command of the window: the library keeps freed list
// nodes for reuse by the thread that freed them, so a thread per command
// would strand them when it ends.
struct CommandRunner::Worker {
  std::mutex mutex;
  std::condition_variable wake;
  std::shared_ptr<Job> next;
  bool stop = false;
  std::thread thread;
};

namespace {

constexpr int kGraceMs = 100;
constexpr int kSlowMs = 500;
constexpr int kPollMs = 100;

}  // namespace

CommandRunner::CommandRunner(QObject* parent) : QObject(parent), worker_(std::make_unique<Worker>()) {
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &CommandRunner::poll);
  worker_->thread = std::thread([this] { serve(); });
}

CommandRunner::~CommandRunner() {
  if (job_) job_->cancel = true;
  {
    std::lock_guard lock(worker_->mutex);
    worker_->stop = true;
  }
  worker_->wake.notify_all();
  worker_->thread.join();
}

void CommandRunner::serve() {
  for (;;) {
    std::shared_ptr<Job> job;
    {
      std::unique_lock lock(worker_->mutex);
      worker_->wake.wait(lock, [&] { return worker_->stop || worker_->next != nullptr; });
      if (worker_->stop) return;
      job = std::move(worker_->next);
    }
    run(*job);
    QMetaObject::invokeMethod(this, [this, job] { finish(job); }, Qt::QueuedConnection);
  }
}

void CommandRunner::run(Job& job) {
  Delivery delivery;
  Job::Outcome outcome = Job::Outcome::kDelivered;
  std::string message;
  {
    WorkScope scope(limits_, &job.cancel, [&job](const WorkProgress& counted) {
      std::lock_guard lock(job.mutex);
      job.counted = counted;
    });
    try {
      delivery = job.work();
    } catch (const WorkStopped& stop) {
      outcome = stop.cancelled() ? Job::Outcome::kCancelled : Job::Outcome::kLimit;
      message = stop.what();
    } catch (const HStringError& error) {
      outcome = Job::Outcome::kFailed;
      message = error.what();
    } catch (const std::exception& error) {
      outcome = Job::Outcome::kFailed;
      message = error.what();
    }
    job.work = nullptr;  // what the work captured dies on this thread
  }
  {
    std::lock_guard lock(job.mutex);
    job.delivery = std::move(delivery);
    job.outcome = outcome;
    job.message = std::move(message);
    job.done = true;
  }
  job.ended.notify_all();
}

bool CommandRunner::start(const QString& title, Work work) {
  if (job_) return false;
  auto job = std::make_shared<Job>();
  job->work = std::move(work);
  job_ = job;
  title_ = title;
  slowSignalled_ = false;
  clock_.start();
  {
    std::lock_guard lock(worker_->mutex);
    worker_->next = job;
  }
  worker_->wake.notify_all();
  // A short command is delivered at once: no flicker, and the caller sees
  // its result as if it had run in place.
  {
    std::unique_lock lock(job->mutex);
    job->ended.wait_for(lock, std::chrono::milliseconds(kGraceMs), [&] { return job->done; });
    if (!job->done) {
      lock.unlock();
      poll_.start();
      return true;
    }
  }
  finish(job);
  return true;
}

void CommandRunner::cancel() {
  if (job_) job_->cancel = true;
}

void CommandRunner::wait() {
  if (!job_) return;
  std::shared_ptr<Job> job = job_;
  {
    std::unique_lock lock(job->mutex);
    job->ended.wait(lock, [&] { return job->done; });
  }
  finish(job);
}

void CommandRunner::finish(const std::shared_ptr<Job>& job) {
  if (job != job_) return;  // delivered already, by wait() or within the grace
  job_.reset();
  poll_.stop();
  Job::Outcome outcome;
  Delivery delivery;
  QString message;
  {
    std::lock_guard lock(job->mutex);
    outcome = job->outcome;
    delivery = std::move(job->delivery);
    message = QString::fromStdString(utf8ForDisplay(job->message));
  }
  QString title = title_;
  bool delivered = outcome == Job::Outcome::kDelivered;
  emit finished(title, delivered);
  if (outcome == Job::Outcome::kLimit) emit stopped(title, message);
  if (outcome == Job::Outcome::kFailed) emit failed(title, message);
  if (delivered && delivery) delivery();
}

void CommandRunner::poll() {
  if (!job_) return;
  if (!slowSignalled_ && clock_.elapsed() >= kSlowMs) {
    slowSignalled_ = true;
    emit slow(title_);
  }
  WorkProgress counted{nullptr, 0};
  {
    std::lock_guard lock(job_->mutex);
    counted = job_->counted;
  }
  QString text = title_;
  if (job_->cancel) {
    text += tr(": cancelling");
  } else if (counted.what != nullptr) {
    text += QStringLiteral(": %1 %2").arg(QLocale(QLocale::English).toString(qlonglong(counted.count)),
                                          QString::fromLatin1(counted.what));
  } else {
    text += tr(": working");
  }
  emit progress(text + QStringLiteral(" (%1 s)").arg(clock_.elapsed() / 1000));
}

RunnerPanel::RunnerPanel(CommandRunner* runner, QWidget* parent)
    : QWidget(parent), label_(new QLabel(this)), bar_(new QProgressBar(this)), cancel_(new QPushButton(tr("Cancel"), this)) {
  setObjectName("RunnerPanel");
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(label_);
  bar_->setRange(0, 0);  // busy: the amount of work is not known ahead
  bar_->setMaximumWidth(120);
  bar_->setMaximumHeight(14);
  row->addWidget(bar_);
  row->addWidget(cancel_);
  cancel_->setToolTip(tr("Stops the command; the window keeps what it showed (Esc)"));
  hide();
  connect(cancel_, &QPushButton::clicked, runner, &CommandRunner::cancel);
  connect(runner, &CommandRunner::slow, this, [this](const QString& title) {
    label_->setText(title + tr(": working"));
    show();
  });
  connect(runner, &CommandRunner::progress, label_, &QLabel::setText);
  connect(runner, &CommandRunner::finished, this, &QWidget::hide);
}

QString RunnerPanel::text() const { return label_->text(); }
