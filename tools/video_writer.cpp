#include "tools/video_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "tools/gif_palette.h"

namespace {

bool Fail(std::string* why, const std::string& what, int error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  *why = what + ": " + text;
  return false;
}

struct Format {
  const char* muxer;
  const char* encoder;
  AVPixelFormat pixels;
};

Format FormatOf(VideoKind kind) {
  switch (kind) {
    case VideoKind::Mp4: return {"mp4", "libx264", AV_PIX_FMT_YUV420P};
    case VideoKind::WebM: return {"webm", "libvpx-vp9", AV_PIX_FMT_YUV420P};
    case VideoKind::Gif: return {"gif", "gif", AV_PIX_FMT_PAL8};
  }
  return {};
}

// The encoder's settings: x264 at a constant quality that keeps one-pixel lines on white and the
// colours of 4:2:0 sprites above 35 dB (CRF 12, tuned for flat drawn pictures), at "superfast",
// which on two shared cores encodes 1280 x 720 at 70 frames/s where "veryfast" managed 55 (and
// gave 35.9 dB to its 36.5 on the test ride); VP9 in its realtime mode at constant quality.
void SetQuality(AVCodecContext* codec, VideoKind kind) {
  if (kind == VideoKind::Mp4) {
    av_opt_set(codec->priv_data, "preset", "superfast", 0);
    av_opt_set(codec->priv_data, "crf", "12", 0);
    av_opt_set(codec->priv_data, "tune", "animation", 0);
  } else if (kind == VideoKind::WebM) {
    codec->bit_rate = 0;
    av_opt_set(codec->priv_data, "deadline", "realtime", 0);
    av_opt_set(codec->priv_data, "cpu-used", "8", 0);
    av_opt_set(codec->priv_data, "crf", "24", 0);
    av_opt_set(codec->priv_data, "row-mt", "1", 0);
  }
}

}  // namespace

// Everything the file needs from open to finish.
struct VideoWriter::State {
  VideoKind kind = VideoKind::Mp4;
  int width = 0, height = 0;
  int ticksPerFrame = 1;                          // in the encoder's time base
  std::string output;
  std::string part;                               // the temporary name, removed unless finished
  bool finished = false;
  int64_t frames = 0;
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVStream* stream = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* rgba = nullptr;                        // the caller's pixels, wrapped
  AVFrame* converted = nullptr;                   // YUV 4:2:0 for MP4 and WebM
  SwsContext* scaler = nullptr;
  GifPalette palette;

  ~State() {
    sws_freeContext(scaler);
    av_frame_free(&converted);
    av_frame_free(&rgba);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    if (format) {
      if (format->pb) avio_closep(&format->pb);
      avformat_free_context(format);
    }
    if (!finished && !part.empty()) unlink(part.c_str());
  }

  // Sends frame (null: the end) to the encoder and writes every packet it gives back.
  bool encode(AVFrame* frame, std::string* why) {
    int error = avcodec_send_frame(codec, frame);
    if (error < 0) return Fail(why, "encoding", error);
    while ((error = avcodec_receive_packet(codec, packet)) >= 0) {
      if (packet->duration == 0) packet->duration = ticksPerFrame;
      av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      error = av_interleaved_write_frame(format, packet);
      if (error < 0) return Fail(why, "writing " + output, error);
    }
    return error == AVERROR(EAGAIN) || error == AVERROR_EOF || Fail(why, "encoding", error);
  }

  // The caller's RGBA pixels as a frame, without a copy.
  void wrap(const uint8_t* pixels) {
    rgba->data[0] = const_cast<uint8_t*>(pixels);
    rgba->linesize[0] = width * 4;
    rgba->pts = frames * ticksPerFrame;
  }
};

VideoWriter::VideoWriter() = default;
VideoWriter::~VideoWriter() = default;

bool VideoWriter::open(const std::string& path, VideoKind kind, int width, int height, int fps, std::string* why) {
  // The libraries' own chatter (x264's statistics, palettegen's counts) would bury the progress
  // lines; their errors still show.
  av_log_set_level(AV_LOG_ERROR);
  state_ = std::make_unique<State>();
  State& s = *state_;
  s.kind = kind;
  s.width = width;
  s.height = height;
  s.output = path;
  s.part = path + ".part";
  const Format format = FormatOf(kind);
  const AVCodec* encoder = avcodec_find_encoder_by_name(format.encoder);
  if (!encoder) return Fail(why, std::string("no ") + format.encoder + " encoder in this libavcodec", AVERROR_ENCODER_NOT_FOUND);
  int error = avformat_alloc_output_context2(&s.format, nullptr, format.muxer, s.part.c_str());
  if (error < 0) return Fail(why, format.muxer, error);
  s.codec = avcodec_alloc_context3(encoder);
  s.packet = av_packet_alloc();
  s.rgba = av_frame_alloc();
  if (!s.codec || !s.packet || !s.rgba) return Fail(why, "memory", AVERROR(ENOMEM));
  // A GIF's frame times are hundredths of a second.
  s.ticksPerFrame = kind == VideoKind::Gif ? int(kStepsPerSecond) / fps : 1;
  s.codec->time_base = kind == VideoKind::Gif ? AVRational{1, int(kStepsPerSecond)} : AVRational{1, fps};
  s.codec->framerate = {fps, 1};
  s.codec->width = width;
  s.codec->height = height;
  s.codec->pix_fmt = format.pixels;
  s.codec->sample_aspect_ratio = {1, 1};
  s.codec->thread_count = 0;
  if (kind != VideoKind::Gif) {
    s.codec->color_range = AVCOL_RANGE_MPEG;
    s.codec->colorspace = AVCOL_SPC_SMPTE170M;
    s.codec->color_primaries = AVCOL_PRI_SMPTE170M;
    s.codec->color_trc = AVCOL_TRC_SMPTE170M;
  }
  SetQuality(s.codec, kind);
  if (s.format->oformat->flags & AVFMT_GLOBALHEADER) s.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  error = avcodec_open2(s.codec, encoder, nullptr);
  if (error < 0) return Fail(why, std::string("opening ") + format.encoder, error);
  s.stream = avformat_new_stream(s.format, nullptr);
  if (!s.stream) return Fail(why, "memory", AVERROR(ENOMEM));
  s.stream->time_base = s.codec->time_base;
  s.stream->avg_frame_rate = {fps, 1};
  error = avcodec_parameters_from_context(s.stream->codecpar, s.codec);
  if (error < 0) return Fail(why, "stream", error);
  error = avio_open(&s.format->pb, s.part.c_str(), AVIO_FLAG_WRITE);
  if (error < 0) return Fail(why, "opening " + s.part, error);
  AVDictionary* muxerOptions = nullptr;
  if (kind == VideoKind::Gif) av_dict_set(&muxerOptions, "loop", "0", 0);
  error = avformat_write_header(s.format, &muxerOptions);
  av_dict_free(&muxerOptions);
  if (error < 0) return Fail(why, "writing " + path, error);
  s.rgba->format = AV_PIX_FMT_RGBA;
  s.rgba->width = width;
  s.rgba->height = height;
  if (kind == VideoKind::Gif) return s.palette.start(width, height, why);
  s.converted = av_frame_alloc();
  if (!s.converted) return Fail(why, "memory", AVERROR(ENOMEM));
  s.converted->format = format.pixels;
  s.converted->width = width;
  s.converted->height = height;
  error = av_frame_get_buffer(s.converted, 0);
  if (error < 0) return Fail(why, "memory", error);
  s.scaler = sws_getContext(width, height, AV_PIX_FMT_RGBA, width, height, format.pixels, SWS_AREA | SWS_ACCURATE_RND, nullptr,
                            nullptr, nullptr);
  if (!s.scaler) return Fail(why, "colour conversion", AVERROR(EINVAL));
  return true;
}

bool VideoWriter::needsPalettePass() const { return state_->kind == VideoKind::Gif; }

bool VideoWriter::addPaletteFrame(const uint8_t* rgba, std::string* why) {
  State& s = *state_;
  s.wrap(rgba);
  return s.palette.collect(s.rgba, why);
}

bool VideoWriter::addFrame(const uint8_t* rgba, std::string* why) {
  State& s = *state_;
  if (s.frames == 0 && s.kind == VideoKind::Gif && !s.palette.endCollecting(why)) return false;
  s.wrap(rgba);
  ++s.frames;
  if (s.kind == VideoKind::Gif)
    return s.palette.map(s.rgba, [&](AVFrame* mapped) { return s.encode(mapped, why); }, why);
  int error = av_frame_make_writable(s.converted);
  if (error < 0) return Fail(why, "memory", error);
  sws_scale(s.scaler, s.rgba->data, s.rgba->linesize, 0, s.height, s.converted->data, s.converted->linesize);
  s.converted->pts = s.rgba->pts;
  return s.encode(s.converted, why);
}

bool VideoWriter::finish(std::string* why) {
  State& s = *state_;
  if (s.kind == VideoKind::Gif && !s.palette.map(nullptr, [&](AVFrame* mapped) { return s.encode(mapped, why); }, why))
    return false;
  if (!s.encode(nullptr, why)) return false;
  int error = av_write_trailer(s.format);
  if (error < 0) return Fail(why, "writing " + s.output, error);
  error = avio_closep(&s.format->pb);
  if (error < 0) return Fail(why, "writing " + s.output, error);
  std::error_code renamed;
  std::filesystem::rename(s.part, s.output, renamed);
  if (renamed) {
    *why = "cannot name the file " + s.output + ": " + renamed.message();
    return false;
  }
  s.finished = true;
  return true;
}

const char* VideoWriter::partPath() const { return state_ ? state_->part.c_str() : ""; }
