#include "platform/ffmpeg/threaded_movie_reader.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <utility>

namespace kestrel {

namespace {

// Frames kept as pictures ahead of the one asked for: this long at the movie's pace, at least
// kMinNear, at most kMaxNear.
constexpr double kNearSeconds = 0.3;
constexpr int kMinNear = 2;
constexpr int kMaxNear = 30;
// Backwards, a group of pictures is decoded once the train would reach it within kLeadFactor times
// the decoding time plus kMarginSeconds, plus kAheadSeconds when the cache has room for all of it;
// when it has not, the decoding keeps what fits, at least kMinChunk frames. Room is counted after
// the pictures the frames on the way and those just passed will take.
constexpr double kLeadFactor = 1.25;
constexpr double kMarginSeconds = 0.5;
constexpr double kAheadSeconds = 1.0;
constexpr int kMinChunk = 16;
constexpr int kPicturesBehind = FrameCache::kKeepBehind + 2;
// Forwards, work on a frame up to this far behind the one asked for goes on: decoding on from it
// leads there. A stand-in is at most this far from the frame asked for.
constexpr int kFarAhead = 120;
// The second decoder's frame cache: the frame being kept ready, and those decoded with it.
constexpr size_t kReadyDecoderBytes = size_t{16} << 20;

int decoderThreads(int asked) {
  if (asked > 0) return asked;
  const unsigned cores = std::thread::hardware_concurrency();
  return static_cast<int>(std::clamp(cores, 1u, 4u));
}

}  // namespace

ThreadedMovieReader::ThreadedMovieReader(size_t budgetBytes, int threads, bool hardware)
    : decoder_(budgetBytes, decoderThreads(threads), hardware), readyDecoder_(kReadyDecoderBytes, 1, hardware) {
  decoder_.setInterrupt(&interrupt_);
  readyDecoder_.setInterrupt(&interrupt_);
  decoder_.setBetweenFrames([this] { promoteNext(); });
  thread_ = std::thread([this] { run(); });
}

ThreadedMovieReader::~ThreadedMovieReader() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    interrupt_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void ThreadedMovieReader::command(std::function<void()> work) {
  std::unique_lock lock(mutex_);
  // Whatever was asked before belongs to the movie as it was.
  request_ = {};
  ++serial_;
  missing_.clear();
  // Kept at the size and of the movie they were: a command changes one or the other.
  ready_.clear();
  readyFailed_.clear();
  ++commands_;
  end_ = std::numeric_limits<int>::max();
  command_ = std::move(work);
  commandDone_ = false;
  interrupt_ = true;
  wake_.notify_all();
  done_.wait(lock, [this] { return commandDone_; });
}

bool ThreadedMovieReader::open(const std::filesystem::path& path) {
  bool opened = false;
  int count = 0;
  {
    std::lock_guard lock(mutex_);
    readyWanted_.clear();
  }
  command([&] {
    opened = decoder_.open(path);
    count = decoder_.frameCount();
    path_ = path;
    readyDecoder_.close();
    readyOpen_ = false;
  });
  open_ = opened;
  frameCount_ = count;
  shownFrame_ = -1;
  return opened;
}

void ThreadedMovieReader::close() {
  {
    std::lock_guard lock(mutex_);
    readyWanted_.clear();
  }
  command([this] {
    decoder_.close();
    readyDecoder_.close();
    readyOpen_ = false;
  });
  open_ = false;
  frameCount_ = 0;
}

void ThreadedMovieReader::setFrameSize(int width, int height) {
  command([&] {
    decoder_.setFrameSize(width, height);
    readyDecoder_.setFrameSize(width, height);
  });
}

void ThreadedMovieReader::keepReady(const std::vector<int>& frames) {
  std::vector<int> wanted;
  for (int n : frames)
    if (n >= 0 && n < frameCount_) wanted.push_back(n);
  if (wanted.size() > kMaxReady) wanted.resize(kMaxReady);
  std::sort(wanted.begin(), wanted.end());
  wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
  std::lock_guard lock(mutex_);
  if (wanted == readyWanted_) return;
  readyWanted_ = std::move(wanted);
  const auto unwanted = [this](int n) { return !std::binary_search(readyWanted_.begin(), readyWanted_.end(), n); };
  std::erase_if(ready_, [&](const auto& kept) { return unwanted(kept.first); });
  std::erase_if(readyFailed_, unwanted);
  // A frame the cache holds now (the place just saved is on the screen) is kept as it is.
  const FrameCache& cache = decoder_.frameCache();
  for (int n : readyWanted_) {
    if (ready_.count(n) != 0) continue;
    if (auto picture = cache.picture(n)) {
      ready_[n].picture = std::move(picture);
    } else if (auto compact = cache.compact(n)) {
      ready_[n].compact = std::move(compact);
    }
  }
  ++serial_;
  wake_.notify_all();
}

bool ThreadedMovieReader::keptReady(int n) const {
  std::lock_guard lock(mutex_);
  return ready_.count(n) != 0 || readyFailed_.count(n) != 0 || missing_.count(n) != 0;
}

bool ThreadedMovieReader::isOpen() const {
  return open_;
}

int ThreadedMovieReader::frameCount() const {
  return frameCount_;
}

FrameState ThreadedMovieReader::handOut(std::shared_ptr<const Picture> picture, Picture& out) {
  // (The caller says which frame a new picture is.)
  return shown_.handOut(std::move(picture), out) ? FrameState::kReady : FrameState::kMissing;
}

FrameState ThreadedMovieReader::requestFrame(int n, const MovieTravel& travel, Picture& out) {
  if (!open_ || n < 0 || n >= frameCount_) return handOut(nullptr, out);
  std::shared_ptr<const Picture> picture;
  FrameCache::Compact readyFrame;
  std::optional<std::pair<int, std::shared_ptr<const Picture>>> standIn;
  {
    std::lock_guard lock(mutex_);
    const bool changed = n != request_.frame || travel.direction != request_.travel.direction ||
                         std::abs(travel.framesPerSecond - request_.travel.framesPerSecond) >= 1;
    if (changed) {
      request_ = {n, travel};
      ++serial_;
      // Keeping a frame ready gives way to anything the movie needs.
      if (readyRunning_) interrupt_ = true;
    }
    const FrameCache& cache = decoder_.frameCache();
    picture = cache.picture(n);
    if (!picture && (missing_.count(n) != 0 || n >= end_)) return handOut(nullptr, out);
    if (auto kept = ready_.find(n); !picture && kept != ready_.end()) {
      picture = kept->second.picture;
      readyFrame = kept->second.compact;
    }
    if (!picture) {
      // Work that will not lead to the frame gives way to it (or, for a frame kept ready, to the
      // frames after it). Forwards, decoding on from work behind it leads there; a frame kept
      // compact becomes a picture between its frames.
      const int reach = travel.direction > 0 ? taskHigh_ + kFarAhead : taskHigh_;
      if (!taskRunning_ || n < taskLow_ || (n > reach && !cache.contains(n))) interrupt_ = true;
      // Behind a moving movie, the newest frame on the way stands in.
      const bool behind = (travel.direction > 0 && shownFrame_ >= 0 && shownFrame_ < n) ||
                          (travel.direction < 0 && shownFrame_ > n);
      if (behind && !readyFrame) {
        const int bound = travel.direction > 0 ? std::max(shownFrame_, n - kFarAhead)
                                               : std::min(shownFrame_, n + kFarAhead);
        standIn = cache.closestPicture(bound, n);
      }
    }
    if (changed) wake_.notify_all();
  }
  if (readyFrame) {
    // A jump to a frame kept ready: made a picture here and now (a conversion at the movie area's
    // size, about a millisecond), rather than one refresh later by the decoder thread.
    std::shared_ptr<Picture> made = decoder_.frameCache().make();
    if (readyConverter_.convert(*readyFrame, *made)) {
      decoder_.frameCache().putPicture(n, made);
      picture = std::move(made);
    }
  }
  if (picture) {
    shownFrame_ = n;
    return handOut(std::move(picture), out);
  }
  if (!standIn) return FrameState::kPending;
  shownFrame_ = standIn->first;
  handOut(std::move(standIn->second), out);
  return FrameState::kStandIn;
}

bool ThreadedMovieReader::ready(int n) const {
  return decoder_.frameCache().hasPicture(n) || missing_.count(n) != 0 || n >= end_;
}

bool ThreadedMovieReader::decodeFrame(int n, Picture& out) {
  for (;;) {
    const FrameState state = requestFrame(n, MovieTravel{}, out);
    if (state != FrameState::kPending) return state == FrameState::kReady;
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return ready(n) || (idle_ && idleSerial_ == serial_ && !held_); });
    // Done with nothing to show: the frame cannot be had.
    if (!ready(n)) {
      lock.unlock();
      return handOut(nullptr, out) == FrameState::kReady;
    }
  }
}

void ThreadedMovieReader::hold(bool held) {
  {
    std::lock_guard lock(mutex_);
    held_ = held;
  }
  wake_.notify_all();
}

void ThreadedMovieReader::waitUntilIdle() {
  std::unique_lock lock(mutex_);
  done_.wait(lock, [this] { return idle_ && idleSerial_ == serial_ && !command_; });
}

std::optional<std::string> ThreadedMovieReader::takeWarning() {
  std::lock_guard lock(mutex_);
  return std::exchange(warning_, std::nullopt);
}

FfmpegMovieReader::Counters ThreadedMovieReader::counters() const {
  std::lock_guard lock(mutex_);
  FfmpegMovieReader::Counters c = counters_;
  c.framesDecoded -= baseline_.framesDecoded;
  c.framesConverted -= baseline_.framesConverted;
  c.seeks -= baseline_.seeks;
  c.cacheHits -= baseline_.cacheHits;
  return c;
}

void ThreadedMovieReader::resetCounters() {
  std::lock_guard lock(mutex_);
  baseline_ = counters_;
}

size_t ThreadedMovieReader::peakCacheBytes() const {
  return decoder_.frameCache().peakBytes();
}

void ThreadedMovieReader::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (stopping_) return;
    if (command_) {
      auto work = std::exchange(command_, nullptr);
      lock.unlock();
      work();
      lock.lock();
      counters_ = decoder_.counters();
      commandDone_ = true;
      interrupt_ = false;
      done_.notify_all();
      continue;
    }
    Task task = held_ ? Task{} : plan();
    const Task ready = planReady();
    if (task.kind == Task::Kind::kNone && !held_) task = ready;
    if (readyOpen_ && ready.kind == Task::Kind::kNone) {
      // Nothing (more) to keep ready, or the movie moves: the second decoder's frames go.
      lock.unlock();
      readyDecoder_.close();
      readyOpen_ = false;
      lock.lock();
      continue;
    }
    if (task.kind == Task::Kind::kNone) {
      idle_ = true;
      if (!held_) idleSerial_ = serial_;  // held, it has not done what was asked
      done_.notify_all();
      wake_.wait(lock);
      continue;
    }
    idle_ = false;
    taskRunning_ = true;
    readyRunning_ = task.kind == Task::Kind::kReady;
    taskLow_ = task.kind == Task::Kind::kFetch ? task.keepFrom : task.frame;
    taskHigh_ = task.frame;
    if (readyRunning_) {
      // Leads to no frame of the movie's: any request the cache cannot answer stops it.
      taskLow_ = std::numeric_limits<int>::max();
      taskHigh_ = std::numeric_limits<int>::min();
    }
    interrupt_ = false;
    taskCommands_ = commands_;
    const uint64_t serial = serial_;
    lock.unlock();
    execute(task, serial);
    lock.lock();
    taskRunning_ = false;
    readyRunning_ = false;
    done_.notify_all();
  }
}

void ThreadedMovieReader::execute(const Task& task, uint64_t serial) {
  FrameCache& cache = decoder_.frameCache();
  bool missing = false;
  bool noRoom = false;
  if (task.kind == Task::Kind::kReady) {
    keepReadyFrame(task.frame);
    return;
  }
  if (task.kind == Task::Kind::kPromote) {
    missing = !decoder_.promote(task.frame) && !cache.hasPicture(task.frame);
  } else {
    const auto started = std::chrono::steady_clock::now();
    const int64_t decodedBefore = decoder_.counters().framesDecoded;
    const FfmpegMovieReader::Fetch fetched = decoder_.fetch(task.frame, task.keepFrom, task.pictureFrom);
    const int64_t decoded = decoder_.counters().framesDecoded - decodedBefore;
    if (decoded > 0) {
      const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
      secondsPerFrame_ = 0.7 * secondsPerFrame_ + 0.3 * seconds / static_cast<double>(decoded);
    }
    missing = fetched == FfmpegMovieReader::Fetch::kMissing;
    // Decoded but not taken in: everything the cache holds matters more.
    noRoom = fetched == FfmpegMovieReader::Fetch::kDone && !cache.contains(task.frame);
  }
  std::lock_guard lock(mutex_);
  if (missing) missing_.insert(task.frame);
  if (noRoom) noRoomSerial_ = serial;
  end_ = std::min(decoder_.frameCount(), decoder_.endFrame());
  counters_ = decoder_.counters();
  if (auto warning = decoder_.takeWarning()) warning_ = std::move(warning);
}

ThreadedMovieReader::Task ThreadedMovieReader::plan() {
  const int n = request_.frame;
  const int end = std::min(end_, decoder_.frameCount());
  if (n < 0 || !decoder_.isOpen() || n >= end) return {};
  const MovieTravel& travel = request_.travel;
  FrameCache& cache = decoder_.frameCache();
  cache.setFocus(n, travel.direction);
  const int step = travel.direction < 0 ? -1 : 1;
  const int near = nearFrames(travel);
  // The frame asked for, then the next ones on the way, as pictures.
  for (int i = 0; i <= near; ++i) {
    const int k = n + i * step;
    if (k < 0 || k >= end || missing_.count(k) != 0) return {};
    if (cache.hasPicture(k)) continue;
    if (cache.compact(k)) return {Task::Kind::kPromote, k, k, k};
    if (i > 0 && noRoomSerial_ == serial_) return {};
    // Moving forwards, the frames on the way are kept as pictures too: stand-ins while the
    // decoder is behind.
    if (step > 0) {
      const int from = travel.direction > 0 ? std::max(0, k - near) : k;
      return {Task::Kind::kFetch, k, from, from};
    }
    // Backwards: its group of pictures up to it, the frames on the way as pictures.
    Task group = planBeyond(k + 1, 0, end);
    if (group.kind == Task::Kind::kNone || group.frame != k) group = {Task::Kind::kFetch, k, k, k};
    group.pictureFrom = std::min(k, n - near);
    return group;
  }
  return step < 0 ? planBeyond(n, near, end) : Task{};
}

int ThreadedMovieReader::nearFrames(const MovieTravel& travel) {
  return std::clamp(static_cast<int>(std::ceil(travel.framesPerSecond * kNearSeconds)), kMinNear, kMaxNear);
}

void ThreadedMovieReader::promoteNext() {
  int n, direction, near;
  {
    std::lock_guard lock(mutex_);
    n = request_.frame;
    direction = request_.travel.direction;
    near = nearFrames(request_.travel);
  }
  if (n < 0) return;
  const int step = direction < 0 ? -1 : 1;
  FrameCache& cache = decoder_.frameCache();
  // The frames the train has passed meanwhile go first, not those the run is keeping.
  cache.setFocus(n, direction);
  // Two at most: the run goes on meanwhile, and the frames on the way come one at a time.
  for (int i = 0, promoted = 0; i <= near && promoted < 2; ++i)
    if (!cache.hasPicture(n + i * step) && cache.compact(n + i * step)) promoted += decoder_.promote(n + i * step);
}

ThreadedMovieReader::Task ThreadedMovieReader::planBeyond(int n, int near, int end) {
  // Backwards beyond the pictures: the nearest frame kept in neither form, and the frames of its
  // group of pictures up to it, as many as the cache has room for.
  const int from = std::min(n - near - 1, end - 1);
  if (from < 0 || noRoomSerial_ == serial_) return {};
  const FrameCache& cache = decoder_.frameCache();
  const std::optional<int> absent = cache.firstAbsent(from, -1, from + 1, false);
  if (!absent || missing_.count(*absent) != 0) return {};
  const int k = *absent;
  const int start = decoder_.groupStart(k);
  const int need = k - start + 1;
  const size_t each = std::max<size_t>(decoder_.compactFrameBytes(), 1);
  const size_t taken = cache.bytes() + static_cast<size_t>(near + kPicturesBehind) * decoder_.pictureBytes();
  const double fps = request_.travel.framesPerSecond;
  // The frames the train passes while the group is decoded make room as well; half of them are
  // counted, as the decoding may go slower than measured.
  const int passing = static_cast<int>(fps * need * secondsPerFrame_ / 2);
  const int free = taken >= cache.budget() ? 0 : static_cast<int>((cache.budget() - taken) / each);
  const int room = std::min(need, free + passing);
  const double untilNeeded = fps > 0 ? (n - k) / fps : std::numeric_limits<double>::infinity();
  const double lead = kLeadFactor * need * secondsPerFrame_ + kMarginSeconds;
  int keepFrom = start;
  if (untilNeeded > lead + kAheadSeconds) return {};
  if (room < need) {
    // Room grows as the train passes frames; wait for it unless the train would arrive first.
    if (untilNeeded > lead) return {};
    keepFrom = k - std::max(room, std::min(need, kMinChunk)) + 1;
  }
  return {Task::Kind::kFetch, k, keepFrom, k + 1};  // all compact
}

ThreadedMovieReader::Task ThreadedMovieReader::planReady() const {
  // Not before the first frame is asked for, which comes first; and while the movie moves, the
  // decoder's time is the movie's.
  if (readyWanted_.empty() || request_.frame < 0 || request_.travel.direction != 0) return {};
  const int end = std::min(end_, decoder_.frameCount());
  const int at = request_.frame;
  std::optional<int> next;
  for (int n : readyWanted_) {
    if (n >= end || ready_.count(n) != 0 || readyFailed_.count(n) != 0 || missing_.count(n) != 0) continue;
    if (!next || std::abs(n - at) < std::abs(*next - at)) next = n;
  }
  if (!next) return {};
  return {Task::Kind::kReady, *next, *next, *next + 1};
}

void ThreadedMovieReader::keepReadyFrame(int n) {
  if (!readyOpen_) readyOpen_ = readyDecoder_.open(path_);
  const FfmpegMovieReader::Fetch fetched =
      readyOpen_ ? readyDecoder_.fetch(n, n, n + 1) : FfmpegMovieReader::Fetch::kMissing;
  // (A damaged frame comes as the picture standing in for it, not compact: it is not kept.)
  FrameCache::Compact compact = fetched == FfmpegMovieReader::Fetch::kDone ? readyDecoder_.frameCache().compact(n) : nullptr;
  readyDecoder_.frameCache().clear();
  std::lock_guard lock(mutex_);
  // Interrupted, or decoded from the movie or at the size before a command came.
  if (fetched == FfmpegMovieReader::Fetch::kInterrupted || taskCommands_ != commands_) return;
  if (!std::binary_search(readyWanted_.begin(), readyWanted_.end(), n)) return;
  if (compact) {
    ready_[n].compact = std::move(compact);
  } else {
    readyFailed_.insert(n);
  }
}

}  // namespace kestrel
