#include "BackgroundJob.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <exception>

#include "core/work.h"

void loadRuleTexts(Parsing& model, const std::vector<std::string>& lines) {
  Row rules;
  for (const std::string& line : lines) rules.insertTail(HString(line.data(), static_cast<int>(line.size())));
  model.loadRules(rules);
}

std::vector<std::string> ruleTextsOf(const Parsing& model) {
  std::vector<std::string> lines;
  for (const HString& rule : model.rules) lines.emplace_back(rule.view());
  return lines;
}

BackgroundJob::BackgroundJob(QObject* parent) : QObject(parent) {}

// The job outlives every thread it started, so the threads may post to it;
// what they post after it is gone is dropped with it.
BackgroundJob::~BackgroundJob() {
  blockSignals(true);
  cancel();
  for (const std::shared_ptr<Run>& run : abandoned_) {
    run->thread->wait();
    delete run->thread;
  }
}

void BackgroundJob::prune() {
  std::erase_if(abandoned_, [](const std::shared_ptr<Run>& run) {
    if (!run->thread->isFinished()) return false;
    run->thread->wait();
    delete run->thread;
    return true;
  });
}

void BackgroundJob::start(Work work) {
  cancel();
  prune();
  auto run = std::make_shared<Run>();
  current_ = run;
  failure_.clear();
  run->thread = QThread::create([this, run, work = std::move(work)] {
    QString failure;
    bool stopped = false;
    Progress report = [this, run](const QString& text) {
      QMetaObject::invokeMethod(
          this, [this, run, text] { if (current_ == run) emit progress(text); }, Qt::QueuedConnection);
    };
    try {
      // The analyses check the flag and count their states and rows here.
      WorkScope scope({}, &run->cancel, [&report](const WorkProgress& reached) {
        report(QStringLiteral("%1 %2 so far").arg(reached.count).arg(QString::fromUtf8(reached.what)));
      });
      work(run->cancel, report);
    } catch (const WorkStopped& error) {
      stopped = error.cancelled();
      failure = QString::fromStdString(error.what());
    } catch (const std::exception& error) {
      failure = QString::fromStdString(error.what());
    }
    stopped = stopped || run->cancel.load();
    QMetaObject::invokeMethod(
        this, [this, run, failure, stopped] { ended(run, stopped, failure); }, Qt::QueuedConnection);
  });
  run->thread->start();
}

void BackgroundJob::ended(const std::shared_ptr<Run>& run, bool stopped, const QString& failure) {
  if (current_ != run) return;  // cancelled: its end was already told
  current_.reset();
  abandoned_.push_back(run);
  outcome_ = stopped ? Outcome::kCancelled : failure.isEmpty() ? Outcome::kDone : Outcome::kFailed;
  failure_ = stopped ? QString() : failure;
  emit finished();
}

void BackgroundJob::cancel() {
  if (!current_) return;
  current_->cancel = true;
  abandoned_.push_back(current_);
  current_.reset();
  outcome_ = Outcome::kCancelled;
  failure_.clear();
  emit finished();
}

JobStatus::JobStatus(BackgroundJob* job, QWidget* parent) : QWidget(parent) {
  text_ = new QLabel(this);
  bar_ = new QProgressBar(this);
  bar_->setRange(0, 0);
  bar_->setMaximumWidth(160);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(text_, 1);
  row->addWidget(bar_);
  row->addWidget(cancel_);
  connect(job, &BackgroundJob::progress, text_, &QLabel::setText);
  connect(cancel_, &QPushButton::clicked, job, &BackgroundJob::cancel);
  setText({});
}

void JobStatus::working(const QString& what) {
  text_->setText(what);
  bar_->show();
  cancel_->show();
}

void JobStatus::setText(const QString& text) {
  text_->setText(text);
  bar_->hide();
  cancel_->hide();
}

QString JobStatus::text() const { return text_->text(); }
