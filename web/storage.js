// SPDX-License-Identifier: GPL-3.0-or-later
// Runs inside the program's module. The user's data folder, where the direction data file lives,
// is kept in the browser's IndexedDB: loaded before the program starts, saved after each file
// the program replaces in it. IndexedDB keeps each save whole, in one transaction.
(function () {
  const dataHome = '/home/web_user/.local/share';

  function reason(error) {
    return String(error && (error.message || error.name) || error);
  }

  // A browser without IndexedDB for the page (a private window, storage turned off) leaves the
  // folder in memory only; the program says so once.
  function load() {
    // Without IndexedDB at all, emscripten's IDBFS would stop the whole program.
    if (typeof indexedDB === 'undefined' || !indexedDB) {
      Module['torvelStorageProblem'] = 'IndexedDB недоступна';
      return;
    }
    try {
      FS.mkdirTree(dataHome);
      FS.mount(IDBFS, {}, dataHome);
    } catch (error) {
      Module['torvelStorageProblem'] = reason(error);
      return;
    }
    addRunDependency('torvel-storage');
    const done = function (error) {
      if (error) Module['torvelStorageProblem'] = reason(error);
      removeRunDependency('torvel-storage');
    };
    try {
      FS.syncfs(true, done);
    } catch (error) {
      done(error);
    }
  }

  // One save at a time; a file replaced while one runs is saved by the next.
  let saving = false, again = false;
  Module['torvelSaveStorage'] = function () {
    if (Module['torvelStorageProblem']) return;
    if (saving) { again = true; return; }
    saving = true;
    FS.syncfs(false, function (error) {
      saving = false;
      const text = error ? reason(error) : '';
      const address = allocateUTF8(text);
      _torvel_storage_saved(address);
      _free(address);
      if (again) { again = false; Module['torvelSaveStorage'](); }
    });
  };

  let preRun = Module['preRun'] || [];
  if (typeof preRun === 'function') preRun = [preRun];
  preRun.push(load);
  Module['preRun'] = preRun;
})();
