/* The md4c peer of endo("markdown"): parses a Markdown file with md4c and
 * writes it as HTML in memory, ROUNDS times, and prints the best seconds of
 * one conversion.
 *
 *     md4c_driver FILE ROUNDS
 *
 * Debian ships md4c's parser but not its HTML renderer, so a small one is
 * here: tags from the block and span types, escaped text, link targets. The
 * HTML is collected in one buffer, as a caller that keeps the result would;
 * the buffer is emptied, not freed, between rounds.
 */
#include <md4c.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

struct buffer {
    char *data;
    size_t size;
    size_t capacity;
};

static void append(struct buffer *out, const char *text, size_t size) {
    if (out->size + size > out->capacity) {
        size_t capacity = out->capacity ? out->capacity : 4096;
        while (capacity < out->size + size) capacity *= 2;
        out->data = realloc(out->data, capacity);
        if (out->data == NULL) {
            perror("realloc");
            exit(2);
        }
        out->capacity = capacity;
    }
    memcpy(out->data + out->size, text, size);
    out->size += size;
}

static void append_text(struct buffer *out, const char *text) { append(out, text, strlen(text)); }

static void append_escaped(struct buffer *out, const char *text, size_t size) {
    size_t plain = 0;
    for (size_t i = 0; i < size; ++i) {
        const char *entity = text[i] == '&' ? "&amp;" : text[i] == '<' ? "&lt;" : text[i] == '>' ? "&gt;" : NULL;
        if (entity == NULL) continue;
        append(out, text + plain, i - plain);
        append_text(out, entity);
        plain = i + 1;
    }
    append(out, text + plain, size - plain);
}

static const char *const block_tags[] = {
    "", "blockquote", "ul", "ol", "li", "hr", "h", "pre", "", "p",
    "table", "thead", "tbody", "tr", "th", "td",
};
static const char *const span_tags[] = {"em", "strong", "a", "img", "code", "del", "x-math", "x-math", "x-wiki", "u"};

static int tag(struct buffer *out, const char *name, int closing) {
    if (name[0] == '\0') return 0;
    append_text(out, closing ? "</" : "<");
    append_text(out, name);
    append_text(out, ">");
    return 0;
}

static int enter_block(MD_BLOCKTYPE type, void *detail, void *out) {
    (void)detail;
    return tag(out, block_tags[type], 0);
}

static int leave_block(MD_BLOCKTYPE type, void *detail, void *out) {
    (void)detail;
    tag(out, block_tags[type], 1);
    append_text(out, "\n");
    return 0;
}

static int enter_span(MD_SPANTYPE type, void *detail, void *out) {
    if (type == MD_SPAN_A) {
        const MD_ATTRIBUTE *href = &((MD_SPAN_A_DETAIL *)detail)->href;
        append_text(out, "<a href=\"");
        append_escaped(out, href->text, href->size);
        append_text(out, "\">");
        return 0;
    }
    return tag(out, span_tags[type], 0);
}

static int leave_span(MD_SPANTYPE type, void *detail, void *out) {
    (void)detail;
    return tag(out, span_tags[type], 1);
}

static int text(MD_TEXTTYPE type, const MD_CHAR *text, MD_SIZE size, void *out) {
    if (type == MD_TEXT_SOFTBR || type == MD_TEXT_BR) {
        append_text(out, "\n");
    } else {
        append_escaped(out, text, size);
    }
    return 0;
}

static double now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

int main(int argc, char **argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s FILE ROUNDS\n", argv[0]);
        return 2;
    }
    FILE *in = fopen(argv[1], "rb");
    if (in == NULL) {
        perror(argv[1]);
        return 2;
    }
    fseek(in, 0, SEEK_END);
    const long length = ftell(in);
    fseek(in, 0, SEEK_SET);
    char *input = malloc(length > 0 ? (size_t)length : 1);
    if (input == NULL || fread(input, 1, (size_t)length, in) != (size_t)length) {
        perror(argv[1]);
        return 2;
    }
    fclose(in);

    const int rounds = atoi(argv[2]);
    struct buffer out = {NULL, 0, 0};
    const MD_PARSER parser = {0, MD_DIALECT_COMMONMARK, enter_block, leave_block, enter_span, leave_span, text, NULL, NULL};
    double best = -1;
    for (int round = 0; round < rounds; ++round) {
        out.size = 0;
        const double start = now();
        if (md_parse(input, (MD_SIZE)length, &parser, &out) != 0) {
            fprintf(stderr, "md4c failed on %s\n", argv[1]);
            return 1;
        }
        const double seconds = now() - start;
        if (best < 0 || seconds < best) best = seconds;
    }
    printf("%.9f\n", best);
    free(out.data);
    free(input);
    return 0;
}
