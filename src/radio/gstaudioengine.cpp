#include "radio/gstaudioengine.h"

#include "radio/commandline.h"
#include "radio/mpegaudio.h"
#include "radio/playlist.h"

#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QProcess>
#include <QSet>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace vidmo {

namespace {

constexpr int kMaxPlaylistDepth = 4;
constexpr int kFirstRetryMs = 1000;
constexpr int kLongestRetryMs = 30000;
constexpr int kProbeTimeoutMs = 15000;
constexpr qsizetype kSniffBytes = 512;
// A stream's bytes are handed from the connection that fetched the address to
// the pipeline; reading pauses while this much waits undecoded (a file served
// over HTTP arrives far faster than it plays), and the socket's own buffer
// then holds the sender back.
constexpr quint64 kFeedHighBytes = 64 * 1024;
constexpr qint64 kFeedReadBuffer = 64 * 1024;
constexpr int kFeedPollMs = 50;
constexpr qsizetype kRecogniseBytes = 4096;
constexpr int kEncoderStopTimeoutMs = 3000;
constexpr int kShutdownWaitMs = 3000;
// Encoder input not yet taken by the user-interface thread; beyond this the
// thread is stuck and the sound is dropped rather than hoarded.
constexpr qsizetype kMaxPendingPcm = 16 * 1024 * 1024;
constexpr int kPcmRate = 44100;
constexpr int kPcmChannels = 2;

// --- RAII for GLib and GStreamer ---------------------------------------------

struct ObjectUnref
{
    void operator()(void *p) const
    {
        if (p)
            gst_object_unref(p);
    }
};
template <typename T>
using GstRef = std::unique_ptr<T, ObjectUnref>;

struct MiniObjectUnref
{
    void operator()(GstMessage *m) const { gst_message_unref(m); }
    void operator()(GstCaps *c) const { gst_caps_unref(c); }
    void operator()(GstSample *s) const { gst_sample_unref(s); }
};
using MessagePtr = std::unique_ptr<GstMessage, MiniObjectUnref>;
using CapsPtr = std::unique_ptr<GstCaps, MiniObjectUnref>;
using SamplePtr = std::unique_ptr<GstSample, MiniObjectUnref>;

struct ErrorFree
{
    void operator()(GError *e) const { g_error_free(e); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;

struct CharFree
{
    void operator()(gchar *s) const { g_free(s); }
};
using CharPtr = std::unique_ptr<gchar, CharFree>;

bool gstReady()
{
    static const bool ready = [] {
        GError *raw = nullptr;
        const bool ok = gst_init_check(nullptr, nullptr, &raw);
        ErrorPtr error(raw);
        if (!ok) {
            qWarning("GStreamer: %s", error ? error->message : "init failed");
            return false;
        }
        // MP3 goes to mpg123, which ranks no higher than libav's decoders
        // here; picking it leaves libav unloaded for the usual station.
        if (GstRef<GstPluginFeature> mp3{GST_PLUGIN_FEATURE(
                gst_registry_lookup_feature(gst_registry_get(), "mpg123audiodec"))})
            gst_plugin_feature_set_rank(mp3.get(), GST_RANK_PRIMARY);
        return true;
    }();
    return ready;
}

// Creates elements; all or nothing.
bool makeElements(std::initializer_list<std::pair<GstElement **, const char *>> wanted)
{
    bool ok = true;
    for (const auto &[slot, factory] : wanted) {
        *slot = gst_element_factory_make(factory, nullptr);
        if (!*slot) {
            qWarning("GStreamer: no element %s", factory);
            ok = false;
        }
    }
    if (!ok) {
        for (const auto &w : wanted) {
            if (*w.first) {
                gst_object_unref(gst_object_ref_sink(*w.first));
                *w.first = nullptr;
            }
        }
    }
    return ok;
}

// GStreamer loads a plug-in the first time one of its elements is made. For
// the first station that happens between its first bytes and its first sound,
// so the plug-ins an MP3 station needs are loaded beforehand, off the
// user-interface thread. Its decoder is mpg123's (see gstReady): libav's
// plug-in would take 60-70 ms to load and some 30 MiB with its libraries,
// and is left for the streams only it decodes.
void preloadPlugins()
{
    static const char *const names[] = {
        "coreelements", "app", "playback", "typefindfunctions", "audioconvert",
        "audioresample", "volume", "autodetect", "pulseaudio", "id3demux",
        "icydemux", "audioparsers", "mpg123",
    };
    for (const char *name : names)
        if (GstPlugin *plugin = gst_plugin_load_by_name(name))
            gst_object_unref(plugin);
}

bool haveFactory(const char *name)
{
    GstRef<GstElementFactory> f(gst_element_factory_find(name));
    return f != nullptr;
}

// Is there any element of this kind that takes these caps?
bool canHandle(GstElementFactoryListType type, const char *caps)
{
    GList *all = gst_element_factory_list_get_elements(type, GST_RANK_MARGINAL);
    CapsPtr wanted(gst_caps_from_string(caps));
    GList *fit = gst_element_factory_list_filter(all, wanted.get(), GST_PAD_SINK, FALSE);
    const bool found = fit != nullptr;
    gst_plugin_feature_list_free(fit);
    gst_plugin_feature_list_free(all);
    return found;
}

bool isNetworkScheme(const QString &scheme)
{
    return scheme != QLatin1String("file");
}

bool isHttp(const QUrl &url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

// The WAV header in front of the sound. The sizes are unknown, since a
// recording lasts until it is stopped: 0xFFFFFFFF is the marker lame (and
// most readers of piped WAV) take for "read to the end of input"; a large
// finite size would make lame stop counting samples there instead.
QByteArray wavHeader()
{
    QByteArray h(44, '\0');
    auto put32 = [&h](int at, quint32 v) { qToLittleEndian<quint32>(v, h.data() + at); };
    auto put16 = [&h](int at, quint16 v) { qToLittleEndian<quint16>(v, h.data() + at); };
    const quint16 bits = 16;
    const quint16 blockAlign = kPcmChannels * bits / 8;
    std::memcpy(h.data(), "RIFF", 4);
    put32(4, 0xFFFFFFFFu);
    std::memcpy(h.data() + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1); // PCM
    put16(22, kPcmChannels);
    put32(24, kPcmRate);
    put32(28, kPcmRate * blockAlign);
    put16(32, blockAlign);
    put16(34, bits);
    std::memcpy(h.data() + 36, "data", 4);
    put32(40, 0xFFFFFFFFu);
    return h;
}

GstCaps *pcmCaps()
{
    return gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "rate", G_TYPE_INT,
                               kPcmRate, "channels", G_TYPE_INT, kPcmChannels, "layout",
                               G_TYPE_STRING, "interleaved", nullptr);
}

// --- Encoder input, handed from the streaming thread to the UI thread --------

class Feed
{
public:
    // UI thread: where and how to announce new data. A null target silences it.
    void setTarget(QObject *target, std::function<void()> notify)
    {
        std::lock_guard lock(m_mutex);
        m_target = target;
        m_notify = std::move(notify);
        m_posted = false;
    }

    // Streaming thread.
    void push(const char *data, qsizetype size)
    {
        std::lock_guard lock(m_mutex);
        if (m_pending.size() + size > kMaxPendingPcm)
            return;
        m_pending.append(data, size);
        notifyLocked();
    }
    void endOfStream()
    {
        std::lock_guard lock(m_mutex);
        m_eos = true;
        notifyLocked();
    }

    // UI thread.
    QByteArray take(bool *eos)
    {
        std::lock_guard lock(m_mutex);
        m_posted = false;
        *eos = m_eos;
        return std::exchange(m_pending, QByteArray());
    }
    void clearEndOfStream()
    {
        std::lock_guard lock(m_mutex);
        m_eos = false;
    }

private:
    void notifyLocked()
    {
        // The target cannot go away while we hold the lock: it clears itself
        // here before it is destroyed.
        if (m_posted || !m_target)
            return;
        m_posted = true;
        QMetaObject::invokeMethod(m_target, m_notify, Qt::QueuedConnection);
    }

    std::mutex m_mutex;
    QByteArray m_pending;
    bool m_eos = false;
    bool m_posted = false;
    QObject *m_target = nullptr;
    std::function<void()> m_notify;
};

GstFlowReturn onNewSample(GstAppSink *sink, gpointer data)
{
    auto &feed = *static_cast<std::shared_ptr<Feed> *>(data);
    SamplePtr sample(gst_app_sink_pull_sample(sink));
    if (!sample)
        return GST_FLOW_EOS;
    GstBuffer *buffer = gst_sample_get_buffer(sample.get());
    GstMapInfo map;
    if (buffer && gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        feed->push(reinterpret_cast<const char *>(map.data), qsizetype(map.size));
        gst_buffer_unmap(buffer, &map);
    }
    return GST_FLOW_OK;
}

void onSinkEos(GstAppSink *, gpointer data)
{
    (*static_cast<std::shared_ptr<Feed> *>(data))->endOfStream();
}

void deleteFeedRef(gpointer data)
{
    delete static_cast<std::shared_ptr<Feed> *>(data);
}

// Runs when the tee's pad to a recording branch is between buffers: cut the
// branch off and let EOS run through it, so its queue is emptied into the
// encoder and nothing more follows.
GstPadProbeReturn onBranchIdle(GstPad *teePad, GstPadProbeInfo *, gpointer data)
{
    auto *queueSink = static_cast<GstPad *>(data);
    if (gst_pad_unlink(teePad, queueSink))
        gst_pad_send_event(queueSink, gst_event_new_eos());
    return GST_PAD_PROBE_REMOVE;
}

// The tee's format is fixed, so a joining branch has nothing to renegotiate.
// Letting its reconfigure request upstream would make the decoder re-ask for
// allocation, a query that waits until the playback queue has run empty:
// a stall of a few hundred milliseconds in sound and recording alike.
GstPadProbeReturn onReconfigure(GstPad *, GstPadProbeInfo *info, gpointer)
{
    return GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_RECONFIGURE
        ? GST_PAD_PROBE_DROP
        : GST_PAD_PROBE_OK;
}

GstPadProbeReturn onFirstBuffer(GstPad *, GstPadProbeInfo *, gpointer data)
{
    (*static_cast<std::shared_ptr<std::atomic<bool>> *>(data))->store(true);
    return GST_PAD_PROBE_REMOVE;
}

void deleteFlagRef(gpointer data)
{
    delete static_cast<std::shared_ptr<std::atomic<bool>> *>(data);
}

// Decoded sound that is known to be empty at the start of a stream: it is
// dropped, and what follows moves up by as much, so that the sink starts
// on the first real sound instead of waiting out the gap.
struct LeadCut
{
    GstClockTime lead;
    GstClockTime origin = GST_CLOCK_TIME_NONE;
    GstClockTime dropped = 0;
    bool cutting = true;
};

GstPadProbeReturn onLeadBuffer(GstPad *, GstPadProbeInfo *info, gpointer data)
{
    auto &cut = *static_cast<LeadCut *>(data);
    GstBuffer *buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    const GstClockTime pts = GST_BUFFER_PTS(buffer);
    if (!GST_CLOCK_TIME_IS_VALID(pts))
        return cut.dropped == 0 ? GST_PAD_PROBE_REMOVE : GST_PAD_PROBE_OK;
    if (cut.cutting) {
        if (!GST_CLOCK_TIME_IS_VALID(cut.origin))
            cut.origin = pts;
        // Only whole buffers that end inside the empty lead go; a frame lasts
        // 8 ms at the least, so a millisecond allows for the decoder's
        // rounding of timestamps without taking a frame of sound.
        const GstClockTime duration = GST_BUFFER_DURATION(buffer);
        if (GST_CLOCK_TIME_IS_VALID(duration) && pts >= cut.origin
            && pts + duration <= cut.origin + cut.lead + GST_MSECOND) {
            cut.dropped = pts + duration - cut.origin;
            return GST_PAD_PROBE_DROP;
        }
        cut.cutting = false;
    }
    if (cut.dropped == 0)
        return GST_PAD_PROBE_REMOVE; // nothing to move up
    buffer = gst_buffer_make_writable(buffer);
    GST_BUFFER_PTS(buffer) = pts > cut.dropped ? pts - cut.dropped : 0;
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    return GST_PAD_PROBE_OK;
}

void deleteLeadCut(gpointer data)
{
    delete static_cast<LeadCut *>(data);
}

void onPadAdded(GstElement *, GstPad *pad, gpointer data)
{
    auto *convert = static_cast<GstElement *>(data);
    CapsPtr caps(gst_pad_get_current_caps(pad));
    if (!caps)
        caps.reset(gst_pad_query_caps(pad, nullptr));
    if (!caps || gst_caps_get_size(caps.get()) == 0)
        return;
    const gchar *name = gst_structure_get_name(gst_caps_get_structure(caps.get(), 0));
    if (!g_str_has_prefix(name, "audio/"))
        return;
    GstRef<GstPad> sinkPad(gst_element_get_static_pad(convert, "sink"));
    if (!gst_pad_is_linked(sinkPad.get()))
        gst_pad_link(pad, sinkPad.get());
}

// --- One recording -----------------------------------------------------------

class Pipeline;

class Encoder final : public QObject
{
public:
    Encoder(HENCODE h, std::unique_ptr<QProcess> child)
        : handle(h), process(std::move(child)), feed(std::make_shared<Feed>())
    {
        feed->setTarget(this, [this] { drain(); });
        stopTimer.setSingleShot(true);
    }
    ~Encoder() override
    {
        feed->setTarget(nullptr, {});
        if (process && process->state() != QProcess::NotRunning) {
            process->closeWriteChannel();
            if (!process->waitForFinished(200)) {
                process->kill();
                process->waitForFinished(500);
            }
        }
    }

    // Moves what the branch delivered into the child's input.
    void drain()
    {
        bool eos = false;
        const QByteArray data = feed->take(&eos);
        if (!data.isEmpty() && process->state() == QProcess::Running)
            process->write(data);
        if (eos && onBranchEnded)
            onBranchEnded();
    }

    const HENCODE handle;
    std::unique_ptr<QProcess> process;
    std::shared_ptr<Feed> feed;
    GstRef<GstPad> teePad;               // set while a branch of the current pipeline feeds us
    std::vector<GstElement *> elements;  // that branch, owned by the pipeline's bin
    bool stopping = false;
    QTimer stopTimer;
    std::function<void()> onBranchEnded;
};

// --- One pipeline: one attempt at playing one address ------------------------

class Pipeline
{
public:
    // Either GStreamer opens the address itself (uridecodebin), or, with
    // fedByUs, the bytes are pushed in through feed() (appsrc ! decodebin).
    static std::unique_ptr<Pipeline> create(const QUrl &uri, bool silentOutput, bool fedByUs)
    {
        GstElement *src = nullptr, *decode = nullptr, *convert = nullptr, *resample = nullptr,
                   *format = nullptr, *volume = nullptr, *tee = nullptr, *queue = nullptr,
                   *sink = nullptr;
        if (fedByUs && !makeElements({{&src, "appsrc"}, {&decode, "decodebin"}}))
            return nullptr;
        if (!fedByUs && !makeElements({{&src, "uridecodebin"}}))
            return nullptr;
        if (!makeElements({{&convert, "audioconvert"},
                           {&resample, "audioresample"},
                           {&format, "capsfilter"},
                           {&tee, "tee"},
                           {&queue, "queue"},
                           {&volume, "volume"},
                           {&sink, silentOutput ? "fakesink" : "autoaudiosink"}})) {
            for (GstElement *e : {src, decode})
                if (e)
                    gst_object_unref(gst_object_ref_sink(e));
            return nullptr;
        }
        auto p = std::unique_ptr<Pipeline>(new Pipeline);
        p->m_bin.reset(static_cast<GstElement *>(gst_object_ref_sink(gst_pipeline_new(nullptr))));
        gst_bin_add_many(GST_BIN(p->m_bin.get()), src, convert, resample, format, tee, queue,
                         volume, sink, nullptr);
        GstElement *decoder = src;
        if (fedByUs) {
            gst_bin_add(GST_BIN(p->m_bin.get()), decode);
            if (!gst_element_link(src, decode))
                return nullptr;
            // Bytes of a live stream: no seeking, no size, no clock of its own.
            g_object_set(src, "format", GST_FORMAT_BYTES, "stream-type",
                         GST_APP_STREAM_TYPE_STREAM, "max-bytes", guint64(2 * kFeedHighBytes),
                         nullptr);
            p->m_appsrc = src;
            decoder = decode;
        }
        // One fixed format at the tee, the encoder's: a recording branch
        // that joins later has nothing to renegotiate.
        CapsPtr caps(pcmCaps());
        g_object_set(format, "caps", caps.get(), nullptr);
        // The volume sits on the playback branch, behind a short queue: the
        // bar is heard at once, and a recording keeps the stream's own sound.
        if (!gst_element_link_many(convert, resample, format, tee, queue, volume, sink, nullptr))
            return nullptr;
        g_object_set(queue, "max-size-time", guint64(200 * GST_MSECOND), "max-size-buffers",
                     0u, "max-size-bytes", 0u, nullptr);
        if (silentOutput)
            g_object_set(sink, "sync", TRUE, nullptr);
        if (!fedByUs) {
            const QByteArray address = uri.toEncoded();
            g_object_set(src, "uri", address.constData(), nullptr);
        }
        g_signal_connect(decoder, "pad-added", G_CALLBACK(onPadAdded), convert);

        p->m_volume = volume;
        p->m_tee = tee;
        p->m_convert = convert;
        p->m_uri = uri;
        GstRef<GstPad> teeSink(gst_element_get_static_pad(tee, "sink"));
        gst_pad_add_probe(teeSink.get(), GST_PAD_PROBE_TYPE_BUFFER, onFirstBuffer,
                          new std::shared_ptr<std::atomic<bool>>(p->m_flowing), deleteFlagRef);

        p->m_bus.reset(gst_element_get_bus(p->m_bin.get()));
        GPollFD fd;
        gst_bus_get_pollfd(p->m_bus.get(), &fd);
        p->m_notifier = std::make_unique<QSocketNotifier>(fd.fd, QSocketNotifier::Read);
        return p;
    }

    ~Pipeline()
    {
        // The notifier may be the sender we are called from.
        if (m_notifier) {
            m_notifier->setEnabled(false);
            m_notifier.release()->deleteLater();
        }
        if (m_bin)
            gst_element_set_state(m_bin.get(), GST_STATE_NULL);
        --s_alive;
    }

    QSocketNotifier *notifier() const { return m_notifier.get(); }
    GstMessage *popMessage() { return gst_bus_pop(m_bus.get()); }
    bool hasFlowed() const { return m_flowing->load(); }
    const QUrl &uri() const { return m_uri; }

    void setState(GstState state) { gst_element_set_state(m_bin.get(), state); }
    void setVolume(double v) { g_object_set(m_volume, "volume", v, nullptr); }

    // For a pipeline fed by us: room for more, more bytes, and the end.
    bool wantsData() const
    {
        return m_appsrc
            && gst_app_src_get_current_level_bytes(GST_APP_SRC(m_appsrc)) < kFeedHighBytes;
    }
    void feed(const QByteArray &bytes)
    {
        if (!m_appsrc || bytes.isEmpty())
            return;
        GstBuffer *buffer = gst_buffer_new_allocate(nullptr, gsize(bytes.size()), nullptr);
        gst_buffer_fill(buffer, 0, bytes.constData(), gsize(bytes.size()));
        gst_app_src_push_buffer(GST_APP_SRC(m_appsrc), buffer); // takes the buffer
    }
    // The first `ns` of decoded sound are known to be empty (see silentLeadNs):
    // skip them. Called before the first bytes are fed.
    void skipSilentLead(qint64 ns)
    {
        if (ns <= 0)
            return;
        GstRef<GstPad> pad(gst_element_get_static_pad(m_convert, "sink"));
        gst_pad_add_probe(pad.get(), GST_PAD_PROBE_TYPE_BUFFER, onLeadBuffer,
                          new LeadCut{GstClockTime(ns)}, deleteLeadCut);
    }
    // What the bytes are, when we know: decodebin then need not guess. Its
    // guessing runs every type finder until one is certain, which for MP3
    // joined mid-way none is, and so loads plug-ins (libav's) on the way.
    void setFeedCaps(GstCaps *caps)
    {
        if (m_appsrc)
            gst_app_src_set_caps(GST_APP_SRC(m_appsrc), caps);
    }
    void endFeed()
    {
        if (m_appsrc)
            gst_app_src_end_of_stream(GST_APP_SRC(m_appsrc));
    }

    // queue ! audioconvert ! audioresample ! appsink, fed from the tee.
    bool attach(Encoder &enc)
    {
        GstElement *queue = nullptr, *convert = nullptr, *resample = nullptr, *sink = nullptr;
        if (!makeElements({{&queue, "queue"},
                           {&convert, "audioconvert"},
                           {&resample, "audioresample"},
                           {&sink, "appsink"}}))
            return false;
        CapsPtr caps(pcmCaps());
        // Not synchronised to the clock: the playback branch paces the tee.
        // Not async: a sink joining a playing pipeline must not pull it back
        // into a state change.
        g_object_set(sink, "caps", caps.get(), "sync", FALSE, "async", FALSE, nullptr);
        GstAppSinkCallbacks callbacks{};
        callbacks.eos = onSinkEos;
        callbacks.new_sample = onNewSample;
        gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks,
                                   new std::shared_ptr<Feed>(enc.feed), deleteFeedRef);

        GstBin *bin = GST_BIN(m_bin.get());
        gst_bin_add_many(bin, queue, convert, resample, sink, nullptr);
        enc.elements = {queue, convert, resample, sink};
        if (!gst_element_link_many(queue, convert, resample, sink, nullptr)) {
            detach(enc);
            return false;
        }
        for (auto it = enc.elements.rbegin(); it != enc.elements.rend(); ++it)
            gst_element_sync_state_with_parent(*it);
        // Linked last, so the tee never pushes into a branch that is not running.
        enc.teePad.reset(gst_element_request_pad_simple(m_tee, "src_%u"));
        if (enc.teePad)
            gst_pad_add_probe(enc.teePad.get(), GST_PAD_PROBE_TYPE_EVENT_UPSTREAM, onReconfigure,
                              nullptr, nullptr);
        GstRef<GstPad> queueSink(gst_element_get_static_pad(queue, "sink"));
        if (!enc.teePad || gst_pad_link(enc.teePad.get(), queueSink.get()) != GST_PAD_LINK_OK) {
            detach(enc);
            return false;
        }
        enc.feed->clearEndOfStream();
        return true;
    }

    // Ends the branch gently: its remaining sound reaches the encoder, then EOS.
    void drainBranch(Encoder &enc)
    {
        if (!enc.teePad || enc.elements.empty())
            return;
        GstRef<GstPad> queueSink(gst_element_get_static_pad(enc.elements.front(), "sink"));
        gst_pad_add_probe(enc.teePad.get(), GST_PAD_PROBE_TYPE_IDLE, onBranchIdle,
                          queueSink.release(), gst_object_unref);
    }

    // Takes the branch out of the pipeline at once.
    void detach(Encoder &enc)
    {
        GstBin *bin = GST_BIN(m_bin.get());
        for (GstElement *e : enc.elements) {
            gst_element_set_state(e, GST_STATE_NULL);
            gst_bin_remove(bin, e);
        }
        enc.elements.clear();
        if (enc.teePad) {
            gst_element_release_request_pad(m_tee, enc.teePad.get());
            enc.teePad.reset();
        }
    }

    static int alive() { return s_alive; }

private:
    Pipeline() { ++s_alive; }

    GstRef<GstElement> m_bin;
    GstRef<GstBus> m_bus;
    GstElement *m_volume = nullptr;
    GstElement *m_tee = nullptr;
    GstElement *m_convert = nullptr;
    GstElement *m_appsrc = nullptr;
    QUrl m_uri;
    std::shared_ptr<std::atomic<bool>> m_flowing = std::make_shared<std::atomic<bool>>(false);
    std::unique_ptr<QSocketNotifier> m_notifier;
    static inline int s_alive = 0;
};

} // namespace

// --- The engine's state ------------------------------------------------------

class Stream;

class GstAudioEngine::Private
{
public:
    QNetworkAccessManager &network()
    {
        if (!nam)
            nam = std::make_unique<QNetworkAccessManager>();
        return *nam;
    }
    std::uint32_t newHandle() { return nextHandle == 0 ? 0 : nextHandle++; }
    Stream *stream(std::uint32_t handle) const;
    void retire(std::unique_ptr<Encoder> enc);
    void reapFinished();

    QObject context; // for deferred work; declared first, so destroyed last
    bool initialised = false;
    bool silentOutput = false;
    bool followPlaylists = false;
    std::uint32_t nextHandle = 1;
    HPLUGIN wmaPlugin = 0;
    std::map<std::uint32_t, std::unique_ptr<Stream>> streams;
    std::vector<std::unique_ptr<Encoder>> finishing;
    std::unique_ptr<QNetworkAccessManager> nam;
    std::thread preloader;
};

namespace {

struct Candidate
{
    QUrl url;
    int depth = 0;
};

} // namespace

// One stream handle: resolves its address, plays it, keeps it playing.
class Stream final : public QObject
{
public:
    Stream(GstAudioEngine::Private &engine, HSTREAM h, QUrl address, bool followPlaylists)
        : handle(h), m_engine(engine), m_address(std::move(address)),
          m_followPlaylists(followPlaylists)
    {
        m_retry.setSingleShot(true);
        QObject::connect(&m_retry, &QTimer::timeout, this, [this] { resolve(); });
        // A server that stops sending, whether it is being asked for the
        // address or already playing, is given up on after a while.
        m_watchdog.setSingleShot(true);
        QObject::connect(&m_watchdog, &QTimer::timeout, this, [this] {
            if (m_reply && m_reply->isRunning())
                m_reply->abort();
        });
        m_feedPoll.setSingleShot(true);
        QObject::connect(&m_feedPoll, &QTimer::timeout, this, [this] { pump(); });
    }

    ~Stream() override
    {
        closeProbe();
        // The encoders end with their stream: their input is closed so each
        // completes its file, and they finish on their own.
        auto encoders = std::move(m_encoders);
        m_encoders.clear();
        for (auto &enc : encoders) {
            enc->onBranchEnded = nullptr;
            if (m_pipeline)
                m_pipeline->detach(*enc);
            enc->drain();
            m_engine.retire(std::move(enc));
        }
        m_pipeline.reset();
    }

    // Ends the current attempt. Recordings go on and join the next pipeline;
    // one that was being stopped has nothing more to wait for.
    void dropPipeline()
    {
        if (!m_pipeline)
            return;
        std::vector<Encoder *> stopping;
        for (auto &enc : m_encoders) {
            m_pipeline->detach(*enc);
            if (enc->stopping)
                stopping.push_back(enc.get());
        }
        m_pipeline.reset();
        for (Encoder *enc : stopping)
            finishEncoder(enc);
    }

    void start() { resolve(); }

    void play()
    {
        m_wantPlay = true;
        if (m_pipeline)
            m_pipeline->setState(GST_STATE_PLAYING);
    }

    void setVolume(double v)
    {
        m_volume = v;
        if (m_pipeline)
            m_pipeline->setVolume(v);
    }

    GstAudioEngine::StreamState state() const
    {
        using S = GstAudioEngine::StreamState;
        if (m_pipeline)
            return m_pipeline->hasFlowed() ? S::Playing : S::Opening;
        if (m_reply)
            return S::Resolving;
        return m_retry.isActive() ? S::Waiting : S::Failed;
    }

    HENCODE startEncoder(const QString &commandLine)
    {
        QStringList args = splitCommandLine(commandLine);
        if (args.isEmpty())
            return 0;
        QString program = args.takeFirst();
        if (!program.contains(QLatin1Char('/')))
            program = QStandardPaths::findExecutable(program);
        if (program.isEmpty() || !QFileInfo(program).isExecutable())
            return 0;
        const HENCODE h = m_engine.newHandle();
        if (h == 0)
            return 0;

        auto process = std::make_unique<QProcess>();
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        process->start(program, args, QIODevice::WriteOnly);
        // Only the fork and exec are waited for, which takes milliseconds.
        if (!process->waitForStarted(3000))
            return 0;
        process->write(wavHeader());

        auto enc = std::make_unique<Encoder>(h, std::move(process));
        Encoder *raw = enc.get();
        raw->onBranchEnded = [this, raw] {
            if (raw->stopping)
                finishEncoder(raw);
        };
        QObject::connect(&raw->stopTimer, &QTimer::timeout, this, [this, raw] { finishEncoder(raw); });
        if (m_pipeline)
            m_pipeline->attach(*raw);
        m_encoders.push_back(std::move(enc));
        return h;
    }

    int stoppingEncoders() const
    {
        return int(std::count_if(m_encoders.begin(), m_encoders.end(),
                                 [](const auto &e) { return e->stopping; }));
    }

    bool hasEncoder(HENCODE h) const
    {
        return std::any_of(m_encoders.begin(), m_encoders.end(),
                           [h](const auto &e) { return e->handle == h; });
    }

    // Stops one encoder (h) or all of them (h == 0).
    bool stopEncoders(HENCODE h)
    {
        std::vector<Encoder *> chosen;
        for (auto &e : m_encoders)
            if ((h == 0 || e->handle == h) && !e->stopping)
                chosen.push_back(e.get());
        for (Encoder *e : chosen) {
            e->stopping = true;
            if (m_pipeline && e->teePad) {
                m_pipeline->drainBranch(*e);
                e->stopTimer.start(kEncoderStopTimeoutMs);
            } else {
                finishEncoder(e);
            }
        }
        return !chosen.empty() || h == 0;
    }

    const HSTREAM handle;

private:
    // Back to the address we were given: a playlist may name other servers
    // by now, so each attempt starts from the top.
    void resolve()
    {
        m_queue.clear();
        m_visited.clear();
        m_queue.append({m_address, 0});
        next();
    }

    void next()
    {
        closeProbe();
        dropPipeline();
        while (!m_queue.isEmpty()) {
            const Candidate c = m_queue.takeFirst();
            if (m_visited.contains(c.url))
                continue;
            m_visited.insert(c.url);
            if (m_followPlaylists && isHttp(c.url))
                probe(c);
            else
                open(c.url);
            return;
        }
        allFailed();
    }

    void allFailed()
    {
        // Before the stream ever played the address is simply bad: silence.
        // After, it is a network blip and we keep trying.
        if (m_hasPlayed)
            scheduleRetry();
    }

    void scheduleRetry()
    {
        m_retry.start(m_backoffMs);
        m_backoffMs = std::min(m_backoffMs * 2, kLongestRetryMs);
    }

    // --- fetching the address to see whether it is a playlist ---

    void probe(const Candidate &c)
    {
        QNetworkRequest request(c.url);
        request.setMaximumRedirectsAllowed(8);
        request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray("VidmoPlayer/2.4"));
        m_probeCandidate = c;
        m_probeBody.clear();
        m_reply = m_engine.network().get(request);
        // Bounded from the start: if this answer turns out to be the stream,
        // reading it must be able to hold the sender back.
        m_reply->setReadBufferSize(kFeedReadBuffer);
        QObject::connect(m_reply, &QNetworkReply::metaDataChanged, this, [this] { probeHeaders(); });
        QObject::connect(m_reply, &QIODevice::readyRead, this, [this] { probeData(); });
        QObject::connect(m_reply, &QNetworkReply::finished, this, [this] { probeFinished(); });
        m_watchdog.start(kProbeTimeoutMs);
    }

    void closeProbe()
    {
        if (!m_reply)
            return;
        QNetworkReply *reply = std::exchange(m_reply, nullptr);
        QObject::disconnect(reply, nullptr, this, nullptr);
        m_watchdog.stop();
        m_feedPoll.stop();
        m_feedEnded = false;
        // An answer that already failed ends by itself; aborting it again
        // makes Qt complain.
        if (reply->isRunning() && reply->error() == QNetworkReply::NoError)
            reply->abort();
        reply->deleteLater();
    }

    QByteArray probeType() const
    {
        return m_reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    }

    void probeHeaders()
    {
        m_watchdog.start(kProbeTimeoutMs);
        const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status >= 300)
            return; // a redirect being followed, or an error that ends the reply
        if (contentTypeIsStream(probeType()))
            playFromProbe();
    }

    void probeData()
    {
        m_watchdog.start(kProbeTimeoutMs);
        m_probeBody += m_reply->readAll();
        const PlaylistFormat format =
            sniffPlaylist(probeType(), m_reply->url(), m_probeBody.left(kSniffBytes));
        if (format == PlaylistFormat::None) {
            if (m_probeBody.size() >= kSniffBytes)
                playFromProbe();
        } else if (m_probeBody.size() > kPlaylistSizeCap) {
            next(); // far too large for a playlist
        }
    }

    void probeFinished()
    {
        const QNetworkReply::NetworkError error = m_reply->error();
        const QUrl url = m_reply->url();
        const bool noHttpAnswer =
            m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isNull()
            && m_probeBody.isEmpty();
        const bool unreadable = error == QNetworkReply::ProtocolFailure
            || error == QNetworkReply::RemoteHostClosedError
            || error == QNetworkReply::UnknownNetworkError;
        if (noHttpAnswer && unreadable) {
            // Qt reads HTTP only: it drops a Shoutcast server's "ICY 200 OK"
            // as a closed or broken answer. GStreamer's HTTP source
            // understands it, so let it try the address itself.
            openFromProbe(m_probeCandidate.url);
            return;
        }
        if (error != QNetworkReply::NoError) {
            next();
            return;
        }
        m_probeBody += m_reply->readAll();
        if (m_probeBody.isEmpty()) {
            next(); // nothing to play and nothing listed
            return;
        }
        const PlaylistFormat format =
            sniffPlaylist(probeType(), url, m_probeBody.left(kSniffBytes));
        if (format == PlaylistFormat::None) {
            openFromProbe(url);
            return;
        }
        const QList<QUrl> entries = parsePlaylist(format, m_probeBody, url);
        const int depth = m_probeCandidate.depth + 1;
        if (depth <= kMaxPlaylistDepth) {
            for (qsizetype i = entries.size() - 1; i >= 0; --i)
                m_queue.prepend({entries[i], depth});
        }
        next();
    }

    // GStreamer fetches the address again itself.
    void openFromProbe(const QUrl &url)
    {
        closeProbe();
        open(url);
    }

    // The answer is the stream: what has come so far and the rest of it go
    // straight into a pipeline, so playing costs no second connection (some
    // servers take a few hundred milliseconds to start each listener).
    void playFromProbe()
    {
        QObject::disconnect(m_reply, nullptr, this, nullptr);
        if (!open(m_reply->url(), true))
            return;
        QObject::connect(m_reply, &QIODevice::readyRead, this, [this] { pump(); });
        QObject::connect(m_reply, &QNetworkReply::finished, this, [this] {
            m_feedEnded = true;
            pump();
        });
        m_feedHead = std::exchange(m_probeBody, QByteArray());
        m_feedEnded = m_reply->isFinished();
        m_feedStarted = false;
        pump();
    }

    // The first bytes are held back until they show whether they are MPEG
    // audio, which the content type alone does not promise: a few frames in
    // a row, or up to 4 KiB that are not.
    bool startFeed()
    {
        if (m_feedStarted)
            return true;
        if (m_feedHead.size() < kRecogniseBytes)
            m_feedHead += m_reply->read(kRecogniseBytes - m_feedHead.size());
        const bool mpeg = looksLikeMpegAudio(m_feedHead);
        if (!mpeg && m_feedHead.size() < kRecogniseBytes && !m_feedEnded)
            return false;
        if (mpeg) {
            CapsPtr caps(gst_caps_new_simple("audio/mpeg", "mpegversion", G_TYPE_INT, 1, nullptr));
            m_pipeline->setFeedCaps(caps.get());
            m_pipeline->skipSilentLead(silentLeadNs(m_feedHead));
        }
        m_pipeline->feed(std::exchange(m_feedHead, QByteArray()));
        m_feedStarted = true;
        return true;
    }

    // Moves the answer's bytes into the pipeline while it has room. When it
    // has not, reading pauses, which holds the server back, and is tried again
    // shortly; the watchdog only counts time spent waiting for the server.
    void pump()
    {
        if (!m_reply || !m_pipeline)
            return;
        if (!startFeed()) {
            m_watchdog.start(kProbeTimeoutMs);
            return;
        }
        while (m_reply->bytesAvailable() > 0 && m_pipeline->wantsData())
            m_pipeline->feed(m_reply->read(kFeedReadBuffer));
        if (m_reply->bytesAvailable() > 0) {
            m_watchdog.stop();
            m_feedPoll.start(kFeedPollMs);
            return;
        }
        if (m_feedEnded) {
            // The pipeline plays what it holds, then ends: on error or at the
            // end of the answer alike.
            closeProbe();
            m_pipeline->endFeed();
            return;
        }
        m_watchdog.start(kProbeTimeoutMs);
    }

    // --- playing ---

    bool open(const QUrl &url, bool fedByUs = false)
    {
        m_pipeline = Pipeline::create(url, m_engine.silentOutput, fedByUs);
        if (!m_pipeline) {
            next();
            return false;
        }
        QObject::connect(m_pipeline->notifier(), &QSocketNotifier::activated, this,
                         [this] { busReady(); });
        m_pipeline->setVolume(m_volume);
        for (auto &enc : m_encoders)
            if (!enc->stopping)
                m_pipeline->attach(*enc);
        m_pipeline->setState(m_wantPlay ? GST_STATE_PLAYING : GST_STATE_PAUSED);
        return true;
    }

    void busReady()
    {
        Pipeline *current = m_pipeline.get();
        while (current && current == m_pipeline.get()) {
            MessagePtr msg(current->popMessage());
            if (!msg)
                break;
            onMessage(msg.get());
        }
    }

    void onMessage(GstMessage *msg)
    {
        switch (GST_MESSAGE_TYPE(msg)) {
        case GST_MESSAGE_ERROR: {
            GError *raw = nullptr;
            gchar *debug = nullptr;
            gst_message_parse_error(msg, &raw, &debug);
            ErrorPtr error(raw);
            CharPtr details(debug);
            qInfo("stream %u: %s", handle, error ? error->message : "error");
            ended();
            break;
        }
        case GST_MESSAGE_EOS:
            ended();
            break;
        case GST_MESSAGE_CLOCK_LOST:
            if (m_wantPlay) {
                m_pipeline->setState(GST_STATE_PAUSED);
                m_pipeline->setState(GST_STATE_PLAYING);
            }
            break;
        default:
            break;
        }
    }

    // The current pipeline stopped: on error, or the source ran dry.
    void ended()
    {
        const bool flowed = m_pipeline->hasFlowed();
        const bool network = isNetworkScheme(m_pipeline->uri().scheme());
        if (!flowed) {
            next(); // this entry does not open: the next one may
            return;
        }
        closeProbe();
        dropPipeline();
        if (!network)
            return; // a file that played to its end is done
        m_hasPlayed = true;
        m_backoffMs = kFirstRetryMs;
        scheduleRetry();
    }

    void finishEncoder(Encoder *raw)
    {
        auto it = std::find_if(m_encoders.begin(), m_encoders.end(),
                               [raw](const auto &e) { return e.get() == raw; });
        if (it == m_encoders.end())
            return;
        std::unique_ptr<Encoder> enc = std::move(*it);
        m_encoders.erase(it);
        enc->stopTimer.stop();
        enc->onBranchEnded = nullptr;
        if (m_pipeline)
            m_pipeline->detach(*enc);
        enc->drain();
        m_engine.retire(std::move(enc));
    }

    GstAudioEngine::Private &m_engine;
    const QUrl m_address;
    const bool m_followPlaylists;
    bool m_wantPlay = false;
    bool m_hasPlayed = false;
    double m_volume = 1.0;
    int m_backoffMs = kFirstRetryMs;
    QTimer m_retry;
    QTimer m_watchdog;
    QTimer m_feedPoll;
    bool m_feedEnded = false;
    bool m_feedStarted = false;
    QByteArray m_feedHead;
    QList<Candidate> m_queue;
    QSet<QUrl> m_visited;
    QNetworkReply *m_reply = nullptr;
    Candidate m_probeCandidate;
    QByteArray m_probeBody;
    std::unique_ptr<Pipeline> m_pipeline;
    std::vector<std::unique_ptr<Encoder>> m_encoders;
};

Stream *GstAudioEngine::Private::stream(std::uint32_t handle) const
{
    const auto it = streams.find(handle);
    return it == streams.end() ? nullptr : it->second.get();
}

void GstAudioEngine::Private::retire(std::unique_ptr<Encoder> enc)
{
    enc->feed->setTarget(nullptr, {});
    QProcess *process = enc->process.get();
    if (process->state() != QProcess::NotRunning) {
        process->closeWriteChannel();
        QObject::connect(process, &QProcess::finished, enc.get(), [this] {
            QTimer::singleShot(0, &context, [this] { reapFinished(); });
        });
        QObject::connect(process, &QProcess::errorOccurred, enc.get(), [this] {
            QTimer::singleShot(0, &context, [this] { reapFinished(); });
        });
    }
    finishing.push_back(std::move(enc));
    reapFinished();
}

void GstAudioEngine::Private::reapFinished()
{
    finishing.erase(std::remove_if(finishing.begin(), finishing.end(),
                                   [](const auto &e) {
                                       return e->process->state() == QProcess::NotRunning;
                                   }),
                    finishing.end());
}

// --- The calls ---------------------------------------------------------------

GstAudioEngine::GstAudioEngine() : d(std::make_unique<Private>()) {}

GstAudioEngine::~GstAudioEngine()
{
    BASS_Free();
    if (d->preloader.joinable())
        d->preloader.join();
}

bool GstAudioEngine::BASS_Init(int device, std::uint32_t, std::uint32_t, quintptr, const void *)
{
    if (d->initialised || !gstReady())
        return false;
    // -1 the default output, 1 the first (and here the only) one, 0 none.
    if (device < -1 || device > 1)
        return false;
    d->silentOutput = device == 0;
    d->initialised = true;
    if (!d->preloader.joinable())
        d->preloader = std::thread(preloadPlugins);
    return true;
}

HPLUGIN GstAudioEngine::BASS_PluginLoad(const QString &file, std::uint32_t)
{
    // The file is not opened: the plug-in's abilities come from GStreamer.
    const QString base = QFileInfo(QString(file).replace(QLatin1Char('\\'), QLatin1Char('/')))
                             .completeBaseName()
                             .toLower();
    if (base != QLatin1String("basswma") || !gstReady())
        return 0;
    if (d->wmaPlugin)
        return d->wmaPlugin;
    const bool asf = haveFactory("asfdemux")
        || canHandle(GST_ELEMENT_FACTORY_TYPE_DEMUXER, "video/x-ms-asf");
    const bool wma = canHandle(GST_ELEMENT_FACTORY_TYPE_DECODER | GST_ELEMENT_FACTORY_TYPE_MEDIA_AUDIO,
                               "audio/x-wma, wmaversion=(int)2");
    if (asf && wma)
        d->wmaPlugin = d->newHandle();
    return d->wmaPlugin;
}

bool GstAudioEngine::BASS_SetConfig(std::uint32_t option, std::uint32_t value)
{
    if (option != bass::CONFIG_NET_PLAYLIST)
        return false;
    d->followPlaylists = value != 0;
    return true;
}

HSTREAM GstAudioEngine::BASS_StreamCreateURL(const QByteArray &url, std::uint32_t, std::uint32_t,
                                            void *, void *)
{
    if (!d->initialised)
        return 0;
    const qsizetype nul = url.indexOf('\0');
    const QString text = QString::fromLocal8Bit(nul < 0 ? url : url.left(nul)).trimmed();
    const QUrl address(text, QUrl::TolerantMode);
    if (!address.isValid() || address.scheme().isEmpty())
        return 0;
    if (isHttp(address) ? address.host().isEmpty()
                        : !gst_uri_protocol_is_supported(GST_URI_SRC,
                                                         address.scheme().toUtf8().constData()))
        return 0;
    const HSTREAM h = d->newHandle();
    if (h == 0)
        return 0;
    auto stream = std::make_unique<Stream>(*d, h, address, d->followPlaylists);
    Stream *raw = stream.get();
    d->streams.emplace(h, std::move(stream));
    raw->start();
    return h;
}

bool GstAudioEngine::BASS_ChannelPlay(std::uint32_t handle, bool)
{
    Stream *s = d->stream(handle);
    if (!s)
        return false;
    s->play();
    return true;
}

bool GstAudioEngine::BASS_StreamFree(HSTREAM handle)
{
    return d->streams.erase(handle) > 0;
}

bool GstAudioEngine::BASS_ChannelSetAttribute(std::uint32_t handle, std::uint32_t attrib,
                                              float value)
{
    Stream *s = d->stream(handle);
    if (!s || attrib != bass::ATTRIB_VOL || std::isnan(value))
        return false;
    s->setVolume(std::clamp(double(value), 0.0, 1.0));
    return true;
}

HENCODE GstAudioEngine::BASS_Encode_Start(std::uint32_t handle, const QString &cmdline,
                                          std::uint32_t, void *, void *)
{
    Stream *s = d->stream(handle);
    return s ? s->startEncoder(cmdline) : 0;
}

bool GstAudioEngine::BASS_Encode_Stop(std::uint32_t handle)
{
    if (Stream *s = d->stream(handle))
        return s->stopEncoders(0);
    for (auto &[h, s] : d->streams)
        if (s->hasEncoder(handle))
            return s->stopEncoders(handle);
    return false;
}

bool GstAudioEngine::BASS_Free()
{
    if (!d->initialised)
        return false;
    d->streams.clear();
    // Give the encoders a moment to write their last frames.
    QElapsedTimer clock;
    clock.start();
    for (auto &enc : d->finishing) {
        const int left = std::max<int>(0, kShutdownWaitMs - int(clock.elapsed()));
        enc->process->waitForFinished(left);
    }
    d->finishing.clear();
    d->nam.reset();
    d->initialised = false;
    return true;
}

GstAudioEngine::StreamState GstAudioEngine::streamState(HSTREAM handle) const
{
    const Stream *s = d->stream(handle);
    return s ? s->state() : StreamState::None;
}

int GstAudioEngine::streamCount() const
{
    return int(d->streams.size());
}

int GstAudioEngine::pipelineCount()
{
    return Pipeline::alive();
}

int GstAudioEngine::finishingEncoderCount() const
{
    d->reapFinished();
    int n = int(d->finishing.size());
    for (const auto &[h, s] : d->streams)
        n += s->stoppingEncoders();
    return n;
}

} // namespace vidmo
