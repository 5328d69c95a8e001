// The libpng functions FreeType's static library calls for colour bitmap glyphs (PNG images
// inside the font), for the Linux module, which carries no libpng: the read is refused where
// it starts, and FreeType reports the glyph as not loadable. Our fonts have no such glyphs, so
// the rest is never reached.
#include <png.h>

#include <cstdlib>

extern "C" {

png_structp png_create_read_struct(png_const_charp, png_voidp, png_error_ptr, png_error_ptr) {
    return nullptr;
}

png_infop png_create_info_struct(png_const_structrp) {
    return nullptr;
}

void png_destroy_read_struct(png_structpp, png_infopp, png_infopp) {}

void png_error(png_const_structrp, png_const_charp) {
    std::abort(); // libpng's own does not return either; there is no read to fail
}

png_uint_32 png_get_IHDR(png_const_structrp, png_const_inforp, png_uint_32*, png_uint_32*, int*,
                         int*, int*, int*, int*) {
    return 0;
}

png_voidp png_get_error_ptr(png_const_structrp) {
    return nullptr;
}

png_voidp png_get_io_ptr(png_const_structrp) {
    return nullptr;
}

png_uint_32 png_get_valid(png_const_structrp, png_const_inforp, png_uint_32) {
    return 0;
}

jmp_buf* png_set_longjmp_fn(png_structrp, png_longjmp_ptr, size_t) {
    return nullptr;
}

int png_set_interlace_handling(png_structrp) {
    return 1;
}

void png_read_end(png_structrp, png_inforp) {}
void png_read_image(png_structrp, png_bytepp) {}
void png_read_info(png_structrp, png_inforp) {}
void png_read_update_info(png_structrp, png_inforp) {}
void png_set_expand_gray_1_2_4_to_8(png_structrp) {}
void png_set_filler(png_structrp, png_uint_32, int) {}
void png_set_gray_to_rgb(png_structrp) {}
void png_set_packing(png_structrp) {}
void png_set_palette_to_rgb(png_structrp) {}
void png_set_read_fn(png_structrp, png_voidp, png_rw_ptr) {}
void png_set_read_user_transform_fn(png_structrp, png_user_transform_ptr) {}
void png_set_strip_16(png_structrp) {}
void png_set_tRNS_to_alpha(png_structrp) {}

} // extern "C"
