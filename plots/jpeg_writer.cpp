#include "plots/jpeg_writer.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <jpeglib.h>
// clang-format on

#include <csetjmp>
#include <memory>
#include <string>

#include "common/durable_replace.h"
#include "common/exceptions.h"

namespace vesk {
namespace {

// libjpeg ends the process on an error unless its handler jumps out; the jump lands in
// Encode, which holds nothing that needs destroying.
struct ErrorJump {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void JumpOut(j_common_ptr info) {
  auto* error = reinterpret_cast<ErrorJump*>(info->err);
  (*info->err->format_message)(info, error->message);
  std::longjmp(error->jump, 1);
}

// The encoder's state and the encoded bytes, outside Encode so that a jump out of libjpeg
// loses nothing.
struct Job {
  jpeg_compress_struct info;
  jpeg_destination_mgr destination;
  ErrorJump error;
  std::string bytes;
  JOCTET chunk[64 * 1024];
};

Job& JobOf(j_compress_ptr info) {
  return *static_cast<Job*>(info->client_data);
}

void StartChunk(j_compress_ptr info) {
  Job& job = JobOf(info);
  job.destination.next_output_byte = job.chunk;
  job.destination.free_in_buffer = sizeof(job.chunk);
}

boolean KeepChunk(j_compress_ptr info) {
  Job& job = JobOf(info);
  job.bytes.append(reinterpret_cast<const char*>(job.chunk), sizeof(job.chunk));
  StartChunk(info);
  return TRUE;
}

void KeepLastChunk(j_compress_ptr info) {
  Job& job = JobOf(info);
  job.bytes.append(reinterpret_cast<const char*>(job.chunk),
                   sizeof(job.chunk) - job.destination.free_in_buffer);
}

bool Encode(Job& job, const TRgbImage& image, int quality) {
  job.info.err = jpeg_std_error(&job.error.manager);
  job.error.manager.error_exit = JumpOut;
  if (setjmp(job.error.jump)) {
    jpeg_destroy_compress(&job.info);
    return false;
  }
  jpeg_create_compress(&job.info);
  job.info.client_data = &job;
  job.destination.init_destination = StartChunk;
  job.destination.empty_output_buffer = KeepChunk;
  job.destination.term_destination = KeepLastChunk;
  job.info.dest = &job.destination;
  job.info.image_width = static_cast<JDIMENSION>(image.width);
  job.info.image_height = static_cast<JDIMENSION>(image.height);
  job.info.input_components = 3;
  job.info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&job.info);
  jpeg_set_quality(&job.info, quality, TRUE);
  jpeg_start_compress(&job.info, TRUE);
  while (job.info.next_scanline < job.info.image_height) {
    // libjpeg reads the rows without writing them, despite its non-const pointer.
    JSAMPROW row = const_cast<JSAMPROW>(image.pixels + job.info.next_scanline * image.stride);
    jpeg_write_scanlines(&job.info, &row, 1);
  }
  jpeg_finish_compress(&job.info);
  jpeg_destroy_compress(&job.info);
  return true;
}

}  // namespace

void WriteJpeg(const std::filesystem::path& file, const TRgbImage& image, int quality) {
  if (quality < 1 || quality > 100) {
    throw Exception("JPEG quality " + std::to_string(quality) + " is not between 1 and 100");
  }
  if (image.pixels == nullptr || image.width <= 0 || image.height <= 0 ||
      image.stride < static_cast<std::size_t>(image.width) * 3) {
    throw Exception("No picture to write to " + file.string());
  }
  const auto job = std::make_unique<Job>();
  if (!Encode(*job, image, quality)) {
    throw Exception("JPEG encoding of " + file.string() + " failed: " + job->error.message);
  }
  ReplaceFileContent(file, job->bytes, false);
}

}  // namespace vesk
