/* A plug-in for qemu's user-mode emulator (7.x, plug-in interface version 1)
 * that counts every instruction the emulated program executes and writes
 * "instructions N" when it ends (through -d plugin). Each translated block
 * adds its instruction count to one counter each time it runs, so counting
 * slows the program only a little. Built for the host, not for i386:
 *   cc -shared -fPIC -O2 -o instruction-counter.so instruction-counter-plugin.c
 * The declarations are the few of the interface this plug-in uses. */
#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

typedef uint64_t qemu_plugin_id_t;
typedef struct {
  const char *target_name;
  struct {
    int min;
    int cur;
  } version;
  bool system_emulation;
  union {
    struct {
      int smp_vcpus;
      int max_vcpus;
    } system;
  };
} qemu_info_t;
struct qemu_plugin_tb;
enum { kInlineAddU64 = 0 };

void qemu_plugin_register_vcpu_tb_trans_cb(qemu_plugin_id_t id,
                                           void (*cb)(qemu_plugin_id_t, struct qemu_plugin_tb *));
void qemu_plugin_register_vcpu_tb_exec_inline(struct qemu_plugin_tb *tb, int op, void *ptr,
                                              uint64_t imm);
size_t qemu_plugin_tb_n_insns(const struct qemu_plugin_tb *tb);
void qemu_plugin_register_atexit_cb(qemu_plugin_id_t id, void (*cb)(qemu_plugin_id_t, void *),
                                    void *userdata);
void qemu_plugin_outs(const char *text);

__attribute__((visibility("default"))) int qemu_plugin_version = 1;

static uint64_t sInstructions;

static void Translated(qemu_plugin_id_t id, struct qemu_plugin_tb *tb) {
  (void)id;
  qemu_plugin_register_vcpu_tb_exec_inline(tb, kInlineAddU64, &sInstructions,
                                           qemu_plugin_tb_n_insns(tb));
}

static void Ended(qemu_plugin_id_t id, void *userdata) {
  char line[64];
  (void)id;
  (void)userdata;
  snprintf(line, sizeof line, "instructions %llu\n", (unsigned long long)sInstructions);
  qemu_plugin_outs(line);
}

__attribute__((visibility("default"))) int qemu_plugin_install(qemu_plugin_id_t id,
                                                               const qemu_info_t *info, int argc,
                                                               char **argv) {
  (void)info;
  (void)argc;
  (void)argv;
  qemu_plugin_register_vcpu_tb_trans_cb(id, Translated);
  qemu_plugin_register_atexit_cb(id, Ended, NULL);
  return 0;
}
