/* The Bramwick form engine: a plain C interface.
 *
 * Every function takes NUL-terminated UTF-8 texts (file paths, JSON) and answers one newly
 * allocated NUL-terminated UTF-8 JSON text: compact, keys in byte order, non-ASCII unescaped.
 * A failure is answered as {"error": message}. The caller owns the answer and releases it
 * exactly once with bw_free. The engine keeps no state between calls; calls may run on any
 * thread at the same time. */
#ifndef BRAMWICK_ENGINE_H
#define BRAMWICK_ENGINE_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define BW_API __declspec(dllexport)
#else
#define BW_API __attribute__((visibility("default")))
#endif

/* {"fields":[{"path":P,"value":V},...]} */
BW_API char *bw_dump(const char *pdf_path);
/* {"fields":[{"group":G,"label":L,"options":[...],"path":P,"required":R,"type":T},...]} */
BW_API char *bw_schema(const char *pdf_path);
/* {"count":N,"ok":true}; data_json is {"fields":{path:value,...}} */
BW_API char *bw_fill(const char *input_pdf, const char *output_pdf, const char *data_json);
/* {"format_err":[{"label":L,"path":P},...],"full":F,"missing":[...],"report":TEXT} */
BW_API char *bw_validate(const char *pdf_path);
/* {"lines":[S,...]} */
BW_API char *bw_pdf_lines(const char *pdf_path);
/* {"cities":{PROVINCE:[{"code":C,"label":L},...]},"provinces":[{"code":C,"label":L},...]} */
BW_API char *bw_work_location_lov(const char *pdf_path);
/* Releases an answer of the functions above; null is ignored. */
BW_API void bw_free(char *answer);

#ifdef __cplusplus
}
#endif

#endif
