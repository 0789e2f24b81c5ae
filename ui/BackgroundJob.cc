#include "BackgroundJob.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <thread>

#include "core/hstring.h"

std::vector<std::string> ruleTextsOf(const Row& rules) {
  std::vector<std::string> lines;
  for (const HString& rule : rules) lines.emplace_back(rule.view());
  return lines;
}

void loadRuleTexts(Parsing& model, const std::vector<std::string>& lines) {
  Row rules;
  for (const std::string& line : lines) rules.insertTail(HString(line.data(), static_cast<int>(line.size())));
  model.loadRules(rules);
}

void loadGrammarCopy(Parsing& model, const std::vector<std::string>& lines, const std::optional<Grammar>& tokens) {
  if (tokens) model.loadGrammar(*tokens);
  else loadRuleTexts(model, lines);
}

// One start of the job, as its thread and the window thread share it: the
// thread writes under the mutex, the window reads.
struct BackgroundJob::Run {
  std::atomic<bool> cancel{false};
  std::function<void()> ended;  // the window thread's alone
  std::thread thread;
  std::mutex mutex;
  std::condition_variable over;
  bool done = false;
  Outcome outcome = Outcome::kDone;
  std::string message;
  QString stage;                      // the work's own word on where it is
  WorkProgress counted{nullptr, 0};   // what the analyses counted last
};

namespace {

constexpr int kPollMs = 100;
// Notes of plain work report every 4096th time, without a count of their own.
constexpr long kNotesPerReport = 4096;

}  // namespace

BackgroundJob::BackgroundJob(QObject* parent) : QObject(parent) {
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &BackgroundJob::poll);
}

// Nothing is told any more: the owner is going.  What the threads post to
// the job after it is gone is dropped with it.
BackgroundJob::~BackgroundJob() {
  if (current_) {
    current_->cancel = true;
    abandoned_.push_back(std::move(current_));
  }
  for (const std::shared_ptr<Run>& run : abandoned_)
    if (run->thread.joinable()) run->thread.join();
}

void BackgroundJob::start(const QString& what, Work work, std::function<void()> ended) {
  if (current_) {
    current_->cancel = true;
    abandoned_.push_back(std::move(current_));
  }
  prune();
  auto run = std::make_shared<Run>();
  run->ended = std::move(ended);
  current_ = run;
  what_ = what;
  outcome_ = Outcome::kDone;
  failure_.clear();
  clock_.start();
  poll_.start();
  run->thread = std::thread([this, run, limits = limits_, work = std::move(work)]() mutable {
    Outcome outcome = Outcome::kDone;
    std::string message;
    {
      Progress stage = [&run](const QString& text) {
        std::lock_guard lock(run->mutex);
        run->stage = text;
        run->counted = {nullptr, 0};
      };
      WorkScope scope(limits, &run->cancel, [&run](const WorkProgress& reached) {
        std::lock_guard lock(run->mutex);
        long count = reached.count;
        if (count == 0) {
          bool same = run->counted.what != nullptr && std::strcmp(run->counted.what, reached.what) == 0;
          count = (same ? run->counted.count : 0) + kNotesPerReport;
        }
        run->counted = {reached.what, count};
      });
      try {
        work(stage);
      } catch (const WorkStopped& stop) {
        outcome = stop.cancelled() ? Outcome::kCancelled : Outcome::kLimit;
        message = stop.what();
      } catch (const std::exception& error) {
        outcome = Outcome::kFailed;
        message = error.what();
      } catch (...) {
        outcome = Outcome::kFailed;
        message = "an unknown failure";
      }
      work = nullptr;  // what the work captured dies on this thread
    }
    {
      std::lock_guard lock(run->mutex);
      run->outcome = run->cancel ? Outcome::kCancelled : outcome;
      run->message = std::move(message);
      run->done = true;
    }
    run->over.notify_all();
    QMetaObject::invokeMethod(this, [this, run] { tell(run); }, Qt::QueuedConnection);
  });
  emit started(what);
}

bool BackgroundJob::finishWithin(int milliseconds) {
  if (!current_) return true;
  std::shared_ptr<Run> run = current_;
  {
    std::unique_lock lock(run->mutex);
    if (!run->over.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return run->done; })) return false;
  }
  tell(run);
  return true;
}

void BackgroundJob::wait() {
  if (!current_) return;
  std::shared_ptr<Run> run = current_;
  {
    std::unique_lock lock(run->mutex);
    run->over.wait(lock, [&] { return run->done; });
  }
  tell(run);
}

void BackgroundJob::tell(const std::shared_ptr<Run>& run) {
  if (run != current_) return;  // told already, or dropped
  if (run->thread.joinable()) run->thread.join();
  current_.reset();
  poll_.stop();
  {
    std::lock_guard lock(run->mutex);
    outcome_ = run->outcome;
    failure_ = outcome_ == Outcome::kLimit || outcome_ == Outcome::kFailed
                   ? QString::fromStdString(utf8ForDisplay(run->message))
                   : QString();
  }
  std::function<void()> ended = std::move(run->ended);
  emit finished();
  if (ended) ended();
}

void BackgroundJob::cancel() {
  if (!current_) return;
  std::shared_ptr<Run> run = std::move(current_);
  run->cancel = true;
  abandoned_.push_back(run);
  poll_.stop();
  outcome_ = Outcome::kCancelled;
  failure_.clear();
  std::function<void()> ended = std::move(run->ended);
  emit finished();
  if (ended) ended();
}

void BackgroundJob::prune() {
  std::erase_if(abandoned_, [](const std::shared_ptr<Run>& run) {
    {
      std::lock_guard lock(run->mutex);
      if (!run->done) return false;
    }
    if (run->thread.joinable()) run->thread.join();
    return true;
  });
}

void BackgroundJob::poll() {
  if (!current_) return;
  QString stage;
  WorkProgress counted{nullptr, 0};
  {
    std::lock_guard lock(current_->mutex);
    stage = current_->stage;
    counted = current_->counted;
  }
  QString text = stage.isEmpty() ? what_ : stage;
  if (counted.what != nullptr)
    text += QStringLiteral(": %1 %2").arg(QLocale(QLocale::English).toString(qlonglong(counted.count)),
                                          QString::fromLatin1(counted.what));
  emit progress(text + QStringLiteral(" (%1 s)").arg(clock_.elapsed() / 1000));
}

JobStatus::JobStatus(BackgroundJob* job, int patience, QWidget* parent)
    : QWidget(parent), job_(job), text_(new QLabel(this)), bar_(new QProgressBar(this)),
      cancel_(new QPushButton(tr("Cancel"), this)) {
  setObjectName("JobStatus");
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(text_, 1);
  bar_->setRange(0, 0);  // busy: the amount of work is not known ahead
  bar_->setMaximumWidth(140);
  bar_->setMaximumHeight(16);
  row->addWidget(bar_);
  row->addWidget(cancel_);
  cancel_->setToolTip(tr("Stops the work; the window keeps what it showed."));
  patience_.setSingleShot(true);
  patience_.setInterval(patience);
  connect(&patience_, &QTimer::timeout, this, [this] { showWork(job_->running()); });
  connect(cancel_, &QPushButton::clicked, job, &BackgroundJob::cancel);
  connect(job, &BackgroundJob::started, this, [this](const QString& what) {
    text_->setText(what);
    if (patience_.interval() == 0) showWork(true);
    else patience_.start();
  });
  connect(job, &BackgroundJob::progress, text_, &QLabel::setText);
  connect(job, &BackgroundJob::finished, this, [this] {
    patience_.stop();
    text_->clear();
    showWork(false);
  });
  showWork(false);
}

void JobStatus::showWork(bool on) {
  bar_->setVisible(on);
  cancel_->setVisible(on);
  setVisible(on || !text_->text().isEmpty());
}

void JobStatus::setText(const QString& text) {
  text_->setText(text);
  setVisible(showsWork() || !text.isEmpty());
}

QString JobStatus::text() const { return text_->text(); }

bool JobStatus::showsWork() const { return !cancel_->isHidden(); }
