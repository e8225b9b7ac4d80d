#include "tools/gif_palette.h"

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
}

#include <cstdio>

namespace {

bool Fail(std::string* why, const char* what, int error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  *why = std::string(what) + ": " + text;
  return false;
}

// A frame source of the given picture, time in hundredths of a second.
int MakeSource(AVFilterGraph* graph, AVFilterContext** source, const char* name, int width, int height, int format) {
  char arguments[160];
  snprintf(arguments, sizeof arguments, "video_size=%dx%d:pix_fmt=%s:time_base=1/100:pixel_aspect=1/1", width,
           height, av_get_pix_fmt_name(AVPixelFormat(format)));
  return avfilter_graph_create_filter(source, avfilter_get_by_name("buffer"), name, arguments, nullptr, graph);
}

}  // namespace

// The first pass's graph (frames -> palettegen) and, once the palette is made, the second's
// (frames and palette -> paletteuse); each with its sources and sink.
struct GifPalette::Graphs {
  int width = 0, height = 0;
  AVFilterGraph* collecting = nullptr;
  AVFilterContext* collectSource = nullptr;
  AVFilterContext* collectSink = nullptr;
  AVFilterGraph* mapping = nullptr;
  AVFilterContext* frameSource = nullptr;
  AVFilterContext* paletteSource = nullptr;
  AVFilterContext* mapSink = nullptr;

  ~Graphs() {
    avfilter_graph_free(&collecting);
    avfilter_graph_free(&mapping);
  }
};

GifPalette::GifPalette() = default;
GifPalette::~GifPalette() = default;

bool GifPalette::start(int width, int height, std::string* why) {
  graphs_ = std::make_unique<Graphs>();
  Graphs& g = *graphs_;
  g.width = width;
  g.height = height;
  g.collecting = avfilter_graph_alloc();
  if (!g.collecting) return Fail(why, "palette graph", AVERROR(ENOMEM));
  AVFilterContext* palettegen = nullptr;
  int error = MakeSource(g.collecting, &g.collectSource, "frames", width, height, AV_PIX_FMT_RGBA);
  if (error >= 0)
    error = avfilter_graph_create_filter(&palettegen, avfilter_get_by_name("palettegen"), "palettegen",
                                         "max_colors=256:reserve_transparent=0:stats_mode=full", nullptr, g.collecting);
  if (error >= 0)
    error = avfilter_graph_create_filter(&g.collectSink, avfilter_get_by_name("buffersink"), "palette", nullptr,
                                         nullptr, g.collecting);
  if (error >= 0) error = avfilter_link(g.collectSource, 0, palettegen, 0);
  if (error >= 0) error = avfilter_link(palettegen, 0, g.collectSink, 0);
  if (error >= 0) error = avfilter_graph_config(g.collecting, nullptr);
  return error >= 0 || Fail(why, "palettegen", error);
}

bool GifPalette::collect(const AVFrame* rgba, std::string* why) {
  const int error = av_buffersrc_add_frame_flags(graphs_->collectSource, const_cast<AVFrame*>(rgba),
                                                 AV_BUFFERSRC_FLAG_KEEP_REF);
  return error >= 0 || Fail(why, "palettegen", error);
}

bool GifPalette::endCollecting(std::string* why) {
  Graphs& g = *graphs_;
  int error = av_buffersrc_add_frame(g.collectSource, nullptr);
  AVFrame* palette = av_frame_alloc();
  if (error >= 0) error = av_buffersink_get_frame(g.collectSink, palette);
  if (error < 0) {
    av_frame_free(&palette);
    return Fail(why, "palettegen", error);
  }
  g.mapping = avfilter_graph_alloc();
  AVFilterContext* paletteuse = nullptr;
  error = g.mapping ? 0 : AVERROR(ENOMEM);
  if (error >= 0) error = MakeSource(g.mapping, &g.frameSource, "frames", g.width, g.height, AV_PIX_FMT_RGBA);
  if (error >= 0) error = MakeSource(g.mapping, &g.paletteSource, "palette", palette->width, palette->height, palette->format);
  if (error >= 0)
    error = avfilter_graph_create_filter(&paletteuse, avfilter_get_by_name("paletteuse"), "paletteuse",
                                         "dither=sierra2_4a:diff_mode=none", nullptr, g.mapping);
  if (error >= 0)
    error = avfilter_graph_create_filter(&g.mapSink, avfilter_get_by_name("buffersink"), "mapped", nullptr, nullptr,
                                         g.mapping);
  if (error >= 0) error = avfilter_link(g.frameSource, 0, paletteuse, 0);
  if (error >= 0) error = avfilter_link(g.paletteSource, 0, paletteuse, 1);
  if (error >= 0) error = avfilter_link(paletteuse, 0, g.mapSink, 0);
  if (error >= 0) error = avfilter_graph_config(g.mapping, nullptr);
  // One palette for the whole ride: the filter keeps using it after its input ends.
  palette->pts = 0;
  if (error >= 0) error = av_buffersrc_add_frame(g.paletteSource, palette);
  if (error >= 0) error = av_buffersrc_add_frame(g.paletteSource, nullptr);
  av_frame_free(&palette);
  return error >= 0 || Fail(why, "paletteuse", error);
}

bool GifPalette::map(const AVFrame* rgba, const std::function<bool(AVFrame*)>& take, std::string* why) {
  Graphs& g = *graphs_;
  int error = rgba ? av_buffersrc_add_frame_flags(g.frameSource, const_cast<AVFrame*>(rgba), AV_BUFFERSRC_FLAG_KEEP_REF)
                   : av_buffersrc_add_frame(g.frameSource, nullptr);
  if (error < 0) return Fail(why, "paletteuse", error);
  AVFrame* mapped = av_frame_alloc();
  bool taken = true;
  while (taken && (error = av_buffersink_get_frame(g.mapSink, mapped)) >= 0) {
    taken = take(mapped);
    av_frame_unref(mapped);
  }
  av_frame_free(&mapped);
  if (!taken) return false;
  return error == AVERROR(EAGAIN) || error == AVERROR_EOF || Fail(why, "paletteuse", error);
}
