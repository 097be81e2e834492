#include "CliRun.h"

#include "document/BarCodeDoc.h"
#include "document/CodeEntry.h"
#include "document/StoredStyle.h"
#include "export/PictureExport.h"
#include "profile/MemoryProfile.h"
#include "profile/PlainIniProfile.h"
#include "profile/ProfileSchema.h"
#include "qtplugin/QtServicesLoader.h"
#include "qtplugin/QtWhenNeeded.h"
#include "symbology/CodeValidator.h"
#include "text/Cp932Utf8.h"

#include <csignal>
#include <cstdio>
#include <pthread.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

namespace kestrel::cli {

namespace {

// The profile as QSettings reads it: read here where it is in the plain
// form the program writes, else through Qt. Null, with the reason in
// `error`, when Qt is needed and cannot be loaded.
std::unique_ptr<Profile> OpenProfile(const CliOptions& options, std::string& error)
{
    std::optional<std::string> path = options.profilePath;
    if (!path) {
        path = PlainDefaultProfilePath();
    }
    if (path) {
        if (std::unique_ptr<Profile> plain = ReadPlainIniProfile(*path)) {
            return plain;
        }
    }
    QtServices* qt = LoadQtServices();
    if (qt == nullptr) {
        error = "cannot read the profile without Qt: " + LoadError();
        return nullptr;
    }
    return qt->ReadProfile(path ? *path : qt->DefaultProfilePath());
}

// The command line fills the code dialog's values as a user would: the
// document's, then the flags given; ticking "自動付加" also ticks "ON".
// The gaps and Codabar start and stop are the options sheet's and the
// document's, not the dialog's.
void ApplyFields(const CliOptions& options, CBarCodeDoc& doc, WorkingGaps& gaps, CodeEntry& entry)
{
    entry.FillFrom(doc);
    CodeEntryValues& values = entry.values;
    if (options.codeType) values.codeType = *options.codeType;
    if (options.check) values.check = *options.check;
    if (options.autoAdd) {
        values.autoAdd = *options.autoAdd;
        entry.AutoAddSetsCheck();
    }
    if (options.aspect) values.aspect = *options.aspect;
    if (options.narrowWidth) values.nwidth = *options.narrowWidth;
    if (options.width) values.width = *options.width;
    if (options.height) values.height = *options.height;
    if (options.xmargin) values.xmargin = *options.xmargin;
    if (options.ymargin) values.ymargin = *options.ymargin;
    if (options.dispCode) values.dispCode = *options.dispCode;
    if (options.codeHigh) values.codeHigh = *options.codeHigh;
    if (options.bearer) values.bearer = *options.bearer;
    if (options.codabarGapX) gaps.codabarGapX = *options.codabarGapX;
    if (options.code39GapX) gaps.code39GapX = *options.code39GapX;
    if (options.codabarStart) doc.CodabarStart = *options.codabarStart;
    if (options.codabarStop) doc.CodabarStop = *options.codabarStop;
}

// What a run takes from the profile, read once before the first picture:
// the document as the profile leaves it with the command line's fields on
// it, the drawing style, the Codabar options and the BMP depth. Nothing of
// the run writes the profile.
struct RunSettings {
    CBarCodeDoc doc;
    WorkingGaps gaps;
    CodeEntry entry;
    DrawStyle style;
    CodabarOptions codabar;
    int bitmapChoice = 0;
};

// Null, with the reason in `error`, when the profile cannot be read or a
// --set value has no code page 932 form.
std::unique_ptr<RunSettings> ReadRunSettings(const CliOptions& options, std::string& error)
{
    const std::unique_ptr<Profile> stored = OpenProfile(options, error);
    if (!stored) {
        return nullptr;
    }
    // The --set values stand over the stored ones for this run only.
    MemoryProfile profile(stored.get());
    for (const ProfileOverride& override : options.overrides) {
        std::string value;
        if (!Utf8ToCp932(override.valueUtf8, value)) {
            error = "--set " + override.section + '/' + override.key
                    + ": the value cannot be written in code page 932";
            return nullptr;
        }
        profile.WriteProfileString(override.section, override.key, value);
    }
    if (options.depth) {
        profile::Write(profile, profile::Bitmap, *options.depth);
    }
    auto settings = std::make_unique<RunSettings>();
    settings->doc.Load(profile, settings->gaps);
    ApplyFields(options, settings->doc, settings->gaps, settings->entry);
    settings->style = ReadDrawStyle(profile);
    settings->codabar = ReadCodabarOptions(profile);
    settings->bitmapChoice = profile::Read(profile, profile::Bitmap);
    return settings;
}

// The outcome of one text: a message for the user when it failed, or a
// note when it succeeded unchecked. The acceptance messages are the code
// dialog's own and, like the reports of --verify, are shown as they are.
struct Outcome {
    int status = Success;
    std::string message;
    bool dialogMessage = false;
};

class Request {
public:
    // Each request works on a copy of the document and the dialog's values,
    // so that the workers of a batch share only what they read.
    Request(const CliOptions& options, const RunSettings& settings)
        : options_(options), settings_(settings), doc_(settings.doc), entry_(settings.entry)
    {
    }

    // Accepts, encodes, prints and writes one text.
    Outcome Make(const std::string& dataUtf8, const std::optional<std::string>& outputName,
                 std::ostream& out)
    {
        CodeText text;
        if (!Utf8ToCp932(dataUtf8, text)) {
            return {UsageError, "the text is not UTF-8 that code page 932 can hold"};
        }
        if (!CodeEntry::CodeTextFits(text)) {
            return {UsageError, std::to_string(text.size()) + " bytes in code page 932, at most "
                                    + std::to_string(CodeEntry::MaxCodeTextBytes) + " are allowed"};
        }
        // Every text starts afresh: a batch line must never draw the line
        // before it. Where the dialog would ignore an empty text, the
        // document is given none.
        entry_.values.codeText = text;
        // The dialog's message as it is, then why, on a line of its own.
        const auto withReason = [](const std::string& message, Refusal refusal) {
            return message + "\nkestrel-cli: reason: " + std::string(RefusalReason(refusal));
        };
        const CodabarOptions& codabar = settings_.codabar;
        const CodeEntryOutcome accepted = entry_.Accept(codabar);
        if (accepted.kind == CodeEntryOutcome::Kind::Rejected) {
            return {Rejected, withReason(accepted.message, accepted.refusal), true};
        }
        const EncodeResult encoded = entry_.ApplyTo(doc_, settings_.gaps, codabar);
        if (EncodeNumber(encoded) == 0 && doc_.HasCodeText()) {
            return {Rejected, withReason("the text cannot be drawn with these settings (check"
                                         " character or ratio, narrow width and gaps from the"
                                         " profile)",
                                         encoded.refusal)};
        }
        for (const Output output : options_.outputs) {
            switch (output) {
            case Output::ModuleText: out << doc_.ModuleText(codabar) << '\n'; break;
            case Output::CodeText: out << Cp932ToUtf8(doc_.CodeText) << '\n'; break;
            }
        }
        if (outputName) {
            SaveProblem problem = SaveProblem::None;
            const PictureFormat format = options_.format.value_or(
                FormatFromFileName(*outputName).value_or(PictureFormat::Bmp));
            std::optional<BmpDepth> depth;
            if (options_.bitsPerPixel) {
                depth = BmpDepth{*options_.bitsPerPixel, options_.runLength};
            }
            const int written = exports_.Save({Picture(), settings_.bitmapChoice, depth}, canvases_,
                                              *outputName, format, &problem);
            const bool withoutQt = TakeQtServicesMissing();
            if (written != 1) {
                if (problem == SaveProblem::NothingToSave) {
                    return {Rejected, "no data to draw, nothing written to " + *outputName};
                }
                return {Rejected,
                        "cannot write " + *outputName + (withoutQt ? ": " + LoadError() : "")};
            }
            if (withoutQt) {
                // Drawn without what Qt would have drawn: not a picture to keep.
                std::remove(outputName->c_str());
                return {Rejected, "cannot write " + *outputName + ": " + LoadError()};
            }
            if (options_.verify) {
                return Verify(*outputName, format);
            }
        }
        return {};
    }

private:
    // BMP and PNG are read back from the file, so a fault of the depth
    // conversion shows; SVG and PDF through the raster the same drawing
    // gives, as no reader here parses them.
    Outcome Verify(const std::string& fileName, PictureFormat format)
    {
        const bool raster = format == PictureFormat::Bmp || format == PictureFormat::Png;
        QtServices* reader = LoadQtServices();
        if (reader == nullptr) {
            return {Rejected, "cannot verify " + fileName + ": " + LoadError()};
        }
        const RgbPicture picture = raster ? reader->ReadPictureFile(fileName)
                                          : DrawPicture(Picture(), canvases_);
        const ScanResult scan = reader->Scan(picture, doc_.CodeType, Cp932ToUtf8(doc_.CodeText));
        switch (scan.scan) {
        case Scan::Read: return {};
        case Scan::NotVerified: return {Success, "not verified: " + scan.detail, true};
        case Scan::NotRead: break;
        }
        return {DoesNotScan,
                "written but does not scan: "
                    + (picture.pixels.empty() ? "cannot read " + fileName + " back" : scan.detail),
                true};
    }

    Drawing Picture() const { return {doc_.Symbol(), settings_.style}; }

    const CliOptions& options_;
    const RunSettings& settings_;
    CBarCodeDoc doc_;
    CodeEntry entry_;
    QtWhenNeededCanvasFactory canvases_;
    const ExportRegistry exports_ = QtWhenNeededExports();
};

std::string NumberedName(std::string pattern, int lineNumber)
{
    const std::string number = std::to_string(lineNumber);
    for (std::size_t at = pattern.find("{n}"); at != std::string::npos;
         at = pattern.find("{n}", at + number.size())) {
        pattern.replace(at, 3, number);
    }
    return pattern;
}

// One worker's request; a batch on several threads gives each worker its
// own, so no thread touches another's document.
struct Session {
    explicit Session(const CliOptions& options, const RunSettings& settings)
        : request(options, settings)
    {
    }
    Request request;
};

std::atomic<bool> stopAsked{false};

// What one line gave: its report and what it printed, kept until the lines
// before it are reported.
struct LineResult {
    Outcome outcome;
    std::string printed;
};

LineResult MakeLine(Request& request, const CliOptions& options, std::string line, int lineNumber)
{
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    std::ostringstream printed;
    LineResult result;
    result.outcome = request.Make(line, NumberedName(*options.outputPath, lineNumber), printed);
    result.printed = std::move(printed).str();
    return result;
}

// False at the end of the input and after a stop was asked for: the signal
// may have cut the read short, and a partial line must not be drawn.
bool ReadLine(std::istream& lines, std::string& line)
{
    return !stopAsked && std::getline(lines, line) && !stopAsked;
}

// Lines in a file, counted before the batch so progress can show a total.
std::optional<long> CountLines(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    long lines = 0;
    char last = '\n';
    std::array<char, 65536> buffer;
    while (file.read(buffer.data(), buffer.size()) || file.gcount() > 0) {
        const auto got = static_cast<std::size_t>(file.gcount());
        lines += std::count(buffer.data(), buffer.data() + got, '\n');
        last = buffer[got - 1];
    }
    return lines + (last != '\n' ? 1 : 0);
}

// Reports the lines in their order, whatever order the workers finish them
// in, and keeps the progress line on the terminal below the reports.
class Reporter {
public:
    Reporter(std::ostream& out, std::ostream& err, bool showProgress, std::optional<long> total)
        : out_(out), err_(err), showProgress_(showProgress), total_(total), started_(Clock::now())
    {
    }

    void Report(int lineNumber, const LineResult& result)
    {
        out_ << result.printed;
        if (!result.outcome.message.empty()) {
            ClearProgress();
            err_ << "line " << lineNumber << ": " << result.outcome.message << '\n';
        }
        anyUnscanned_ = anyUnscanned_ || result.outcome.status == DoesNotScan;
        anyFailed_ = anyFailed_
                     || (result.outcome.status != Success && result.outcome.status != DoesNotScan);
        ++done_;
        ShowProgress(false);
    }

    // At most ten times a second unless `now`.
    void ShowProgress(bool now)
    {
        if (!showProgress_) return;
        const Clock::time_point time = Clock::now();
        if (!now && time - shown_ < std::chrono::milliseconds(100)) return;
        shown_ = time;
        const double seconds = std::chrono::duration<double>(time - started_).count();
        std::ostringstream line;
        line << '\r' << done_;
        if (total_) line << '/' << *total_;
        line << " lines";
        if (seconds > 0.05) {
            line << ", " << static_cast<long>(static_cast<double>(done_) / seconds) << " files/s";
        }
        line << "\033[K";
        err_ << line.str() << std::flush;
        progressShown_ = true;
    }

    void ClearProgress()
    {
        if (progressShown_) {
            err_ << "\r\033[K" << std::flush;
            progressShown_ = false;
        }
    }

    long Done() const { return done_; }
    bool AnyFailed() const { return anyFailed_; }
    bool AnyUnscanned() const { return anyUnscanned_; }

private:
    using Clock = std::chrono::steady_clock;
    std::ostream& out_;
    std::ostream& err_;
    const bool showProgress_;
    const std::optional<long> total_;
    const Clock::time_point started_;
    Clock::time_point shown_{};
    bool progressShown_ = false;
    long done_ = 0;
    bool anyFailed_ = false;
    bool anyUnscanned_ = false;
};

// Workers take lines from a short queue the reading thread fills and put
// their results in the slot of the line; the reading thread reports the
// slots in line order. The queue is short so a slow line never lets the
// reading run far ahead of the writing. Lines are taken, and their results
// handed back, a few at a time, and a thread is woken only when it waits
// for what changed: a picture takes tens of microseconds, and waking every
// thread for every line cost a third of what a second worker gained.
class LinePool {
public:
    LinePool(const CliOptions& options, const std::vector<Session*>& sessions, Reporter& reporter)
        : options_(options), reporter_(reporter), workerCount_(sessions.size()),
          capacity_(sessions.size() * LinesPerTake * 4)
    {
        // The workers never take Ctrl+C: it must reach the reading thread,
        // which may be waiting for a line, to end its wait.
        sigset_t stopSignals;
        sigset_t previous;
        sigemptyset(&stopSignals);
        sigaddset(&stopSignals, SIGINT);
        sigaddset(&stopSignals, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &stopSignals, &previous);
        for (Session* session : sessions) {
            workers_.emplace_back([this, session] { Work(session->request); });
        }
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    }

    ~LinePool() { Finish(); }

    // Waits for room in the queue, reporting what is ready meanwhile.
    void Add(int lineNumber, std::string line)
    {
        std::unique_lock lock(mutex_);
        while (queue_.size() >= capacity_ && !stopAsked) {
            ReportReady(lock);
            readerWaits_ = true;
            readerWake_.wait_for(lock, std::chrono::milliseconds(100));
            readerWaits_ = false;
        }
        queue_.push_back({lineNumber, std::move(line)});
        ++added_;
        if (idleWorkers_ > 0) {
            workerWake_.notify_one();
        }
        ReportReady(lock);
    }

    // Reports every line added, then lets the workers go. After a stop the
    // lines still queued are dropped: only the ones in hand are finished.
    void Finish()
    {
        std::unique_lock lock(mutex_);
        if (finished_) return;
        closed_ = true;
        workerWake_.notify_all();
        while (true) {
            if (stopAsked) {
                added_ -= static_cast<int>(queue_.size());
                queue_.clear();
            }
            ReportReady(lock);
            if (reported_ == added_) break;
            readerWaits_ = true;
            readerWake_.wait_for(lock, std::chrono::milliseconds(100));
            readerWaits_ = false;
            reporter_.ShowProgress(false);
        }
        finished_ = true;
        lock.unlock();
        for (std::thread& worker : workers_) worker.join();
    }

private:
    static constexpr std::size_t LinesPerTake = 8;

    struct Line {
        int number;
        std::string text;
    };

    void Work(Request& request)
    {
        std::vector<Line> taken;
        std::vector<std::pair<int, LineResult>> done;
        std::unique_lock lock(mutex_);
        while (true) {
            while (queue_.empty() && !closed_ && !stopAsked) {
                ++idleWorkers_;
                workerWake_.wait(lock);
                --idleWorkers_;
            }
            if (stopAsked || queue_.empty()) return;
            // An even share of what is queued, so the other worker is not
            // left idle behind a long take.
            const std::size_t share = (queue_.size() + workerCount_ - 1) / workerCount_;
            for (std::size_t n = std::min(share, LinesPerTake); n > 0; --n) {
                taken.push_back(std::move(queue_.front()));
                queue_.pop_front();
            }
            if (!queue_.empty() && idleWorkers_ > 0) {
                workerWake_.notify_one();
            }
            WakeReader();
            lock.unlock();
            for (Line& line : taken) {
                done.emplace_back(line.number,
                                  MakeLine(request, options_, std::move(line.text), line.number));
            }
            taken.clear();
            lock.lock();
            for (auto& [number, result] : done) {
                results_.emplace(number, std::move(result));
            }
            done.clear();
            WakeReader();
        }
    }

    // Called with the lock held.
    void WakeReader()
    {
        if (readerWaits_) {
            readerWake_.notify_one();
        }
    }

    // Line numbers are dealt out in order, so the next to report is the
    // line after the last reported. Called with the lock held.
    void ReportReady(std::unique_lock<std::mutex>&)
    {
        for (auto next = results_.find(reported_ + 1); next != results_.end();
             next = results_.find(reported_ + 1)) {
            reporter_.Report(next->first, next->second);
            results_.erase(next);
            ++reported_;
        }
    }

    const CliOptions& options_;
    Reporter& reporter_;
    const std::size_t workerCount_;
    const std::size_t capacity_;
    std::mutex mutex_;
    std::condition_variable workerWake_;
    std::condition_variable readerWake_;
    std::deque<Line> queue_;
    std::map<int, LineResult> results_;
    int added_ = 0;
    int reported_ = 0;
    int idleWorkers_ = 0;
    bool readerWaits_ = false;
    bool closed_ = false;
    bool finished_ = false;
    std::vector<std::thread> workers_;
};

int RunBatch(Session& first, const CliOptions& options, const RunSettings& settings,
             const RunEnvironment& environment, std::istream& in, std::ostream& out,
             std::ostream& err)
{
    std::ifstream file;
    std::istream* lines = &in;
    if (*options.batchPath != "-") {
        file.open(*options.batchPath, std::ios::binary);
        if (!file) {
            err << "kestrel-cli: --batch: cannot read " << *options.batchPath << '\n';
            return UsageError;
        }
        lines = &file;
    }
    std::optional<long> total;
    if (environment.showProgress && *options.batchPath != "-") {
        total = CountLines(*options.batchPath);
    }
    Reporter reporter(out, err, environment.showProgress, total);
    int lineNumber = 0;
    if (options.jobs <= 1) {
        for (std::string line; ReadLine(*lines, line);) {
            ++lineNumber;
            reporter.Report(lineNumber, MakeLine(first.request, options, line, lineNumber));
        }
    } else {
        // The first session, which checked the command line's values, is
        // the first worker's; the others are made the same way.
        std::vector<std::unique_ptr<Session>> more;
        std::vector<Session*> sessions{&first};
        for (int job = 1; job < options.jobs; ++job) {
            more.push_back(std::make_unique<Session>(options, settings));
            sessions.push_back(more.back().get());
        }
        LinePool pool(options, sessions, reporter);
        for (std::string line; ReadLine(*lines, line);) {
            pool.Add(++lineNumber, std::move(line));
        }
        pool.Finish();
    }
    reporter.ShowProgress(true);
    reporter.ClearProgress();
    out.flush();
    if (stopAsked) {
        err << "kestrel-cli: stopped after " << reporter.Done() << " lines\n";
        return Interrupted;
    }
    return reporter.AnyFailed() || !out ? Rejected
           : reporter.AnyUnscanned()    ? DoesNotScan
                                        : Success;
}

}  // namespace

void AskToStop()
{
    stopAsked = true;
}

int Run(const CliOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
        const RunEnvironment& environment)
{
    if (options.help) {
        out << UsageText();
        return Success;
    }

    std::string error;
    const std::unique_ptr<const RunSettings> settings = ReadRunSettings(options, error);
    if (!settings) {
        err << "kestrel-cli: " << error << '\n';
        return UsageError;
    }
    const auto session = std::make_unique<Session>(options, *settings);
    if (options.batchPath) {
        return RunBatch(*session, options, *settings, environment, in, out, err);
    }
    const Outcome outcome = session->request.Make(options.dataUtf8.value_or(std::string()),
                                                  options.outputPath, out);
    out.flush();
    if (outcome.status == UsageError) {
        err << "kestrel-cli: --data: " << outcome.message << '\n';
    } else if (outcome.dialogMessage) {
        err << outcome.message << '\n';
    } else if (outcome.status != Success) {
        err << "kestrel-cli: " << outcome.message << '\n';
    }
    return outcome.status != Success ? outcome.status : (out ? Success : Rejected);
}

}  // namespace kestrel::cli
